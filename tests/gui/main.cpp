// GUI tests run on the offscreen platform with one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vemora");
    QTranslator da;
    if (da.load("qtbase_da", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) app.installTranslator(&da);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
