#pragma once
// The few items the start-up makes and every window may read, handed to the
// windows that need them.
#include <QList>
#include <QSqlDatabase>
#include <QString>

// One reservation state as the start-up read it.
struct EntreeEtat {
    qint32 code = 0;
    QString libelle;     // code + " - " + name
    qint32 couleur = 0;  // 0x00BBGGRR
};

struct Contexte {
    QString CheminINI;
    QSqlDatabase BaseOuverte;
    QList<EntreeEtat> TableEtats;
    qint16 NbClignotements = 10;
    QString champsdansbarre;   // the bar label template

    // TableEtats as ETATS holds it, in table order (empty when it cannot be read).
    static QList<EntreeEtat> ChargerEtats(const QSqlDatabase& base);
};
