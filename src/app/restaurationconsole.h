#pragma once
// Restoring a backup slot from the command line (--restaurer N): no window,
// the same steps as the restore window.
#include <QTextStream>

namespace Restauration {

// Exit statuses of a restore without a window.
enum Sortie : int {
    SortieOK = 0,           // the slot replaced the database; the previous file is kept
    SortieCreneau = 2,      // N is not a slot number, or that slot has no backup
    SortieEndommagee = 3,   // the backup of that slot fails the check: nothing changed
    SortieEchec = 4,        // the previous file could not be kept or replaced: nothing changed
    SortieRouverture = 5,   // restored, but the restored database does not open as ours
    SortieServeur = 6,      // the database is on a server: restored with pg_restore (the command is printed)
};

// Restores slot `numero` (the text of the command line) over the database
// named by the configuration of the program folder.
int RestaurerSansFenetre(const QString& numero, QTextStream& sortie, QTextStream& erreurs);

} // namespace Restauration
