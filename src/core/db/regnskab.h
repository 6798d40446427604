#pragma once
// The race accounts' entry counts, recounted from the birds and loft games already stored.
namespace vemora {

class Database;

// Fills Regnskab afresh from the older data, Deltagere and Slagspil: per race and club the
// birds, cocks, hens, elite and pool birds and the birds of each A and B class; then the lofts
// entered in each loft-game variant (adding the row when the club has loft games only). Runs
// inside the caller's transaction, or its own.
void fillRegnskab(Database& db);

}  // namespace vemora
