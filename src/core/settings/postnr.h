#pragma once
// The shared list of postal codes and towns. It grows as the user types: a code not yet in
// the list is added the moment it is entered, and the town typed next to it is stored with
// it, so the same code shows that town wherever it is typed later.
#include <string>

namespace vemora {

class Database;

struct PostnrLookup {
    enum Result { Empty, WrongLength, Found, Added } result;
    std::string town;  // the stored town of a found code ("" when it has none)
};

// Looks a typed postal code up: an empty code and a code of other than 4 characters are
// reported as such; a 4-character code not in the list is added at once. Throws DbError.
PostnrLookup LookupPostnr(Database& db, const std::string& code);
// Stores the typed town with the code (an empty town is stored as Null); adds the code when
// it is missing. Codes of other than 4 characters are not stored. Throws DbError.
void StoreTown(Database& db, const std::string& code, const std::string& town);

}  // namespace vemora
