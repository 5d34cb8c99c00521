#pragma once
// Files the program writes whole (pages, feeds, documents, exports): written
// beside their place, then renamed over it, so that a reader never sees
// half a file and a failure leaves the old one as it was.
#include <QByteArray>
#include <QString>

namespace Fichiers {

// Writes the bytes; empty on success, else the system's reason.
QString Ecrire(const QString& chemin, const QByteArray& octets);

// "Le fichier « <chemin> » ne peut pas être écrit : <raison>"
QString MessageNonEcrit(const QString& chemin, const QString& raison);

} // namespace Fichiers
