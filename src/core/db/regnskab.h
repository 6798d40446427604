#pragma once
// The race accounts' entry counts, recounted from the birds and loft games already stored.
#include <vector>

namespace vemora {

class Database;

// Recounts Regnskab from Deltagere and Slagspil: per race and club the birds, cocks, hens,
// elite and pool birds and the birds of each A and B class; then the lofts entered in each
// loft-game variant (adding the row when the club has loft games only). Without `races`
// every row of Regnskab is replaced; with them, the rows of those races' clubs that have
// birds or loft games. Runs inside the caller's transaction, or its own.
void fillRegnskab(Database& db, const std::vector<long long>* races = nullptr);

}  // namespace vemora
