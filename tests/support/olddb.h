#pragma once
// Section databases of older schema versions, rebuilt from the upgrade's table of steps as the
// current schema minus what the later steps add, with a little of everything in them.
#include <filesystem>
#include <map>
#include <string>

#include "core/db/database.h"

namespace vemora::test {

enum class VersionField { Number, Null, Missing };

struct OldDatabaseOptions {
    int version = 0;
    VersionField versionField = VersionField::Number;
    bool relations = true;  // the per-race tables of the base set with their relations
};

// Writes the file (which must not exist) and fills it with the sample rows below.
void buildOldDatabase(const std::filesystem::path& file, const OldDatabaseOptions& options);

// Whether step `step` adds the field (or the table, index or query) with this name.
int stepAddingField(const std::string& table, const std::string& field);  // -1: the base set
int stepAddingTable(const std::string& table);

// Every table, field (name, type, default, key), index, trigger, relation and stored query of
// a file, one entry per object, so two files compare object by object.
std::map<std::string, std::string> schemaDump(Database& db);

}  // namespace vemora::test
