#pragma once
// Pieces of SQL shared by the figures' statements and by the monthly sums
// kept for them (Cumuls): which journal rows are payments, stay charges or
// tourist tax, and the kind of a row. Each reads the journal row as `x`
// and, where said, its reservation as `r`.
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace FragmentsStatistiques {

// A payment has a code that is not blank; the first test spares the
// function call on most charges ("   " sorts first among the codes).
inline constexpr const char* kEstEncaissement = "(x.paiement > '   ' AND trim(x.paiement) <> '')";

// A tourist tax charge or its correction (the label's prefix, letter case
// counting).
inline constexpr const char* kPosteTaxe =
    "(substr(x.libelle, 1, 15) = 'TAXE DE SEJOUR ' OR substr(x.libelle, 1, 26) = 'CORRECTION TAXE DE SEJOUR ')";

// A stay charge, the tourist tax or one of their corrections; never a payment.
QString posteSejour(const QSqlDatabase& b);

// The reservation r carries its stay charges over its nights (at least
// one, readable), or to the day of its cancellation when that is readable.
QString etaleOuAnnule();

// The kind of a journal row, as the figures number them: `encaissement`
// for a payment, otherwise the number given with the first prefix its
// label begins with, 0 without one. The prefixes are bound as values,
// appended to *valeurs in the order of their placeholders.
using Prefixes = QList<QPair<QString, int>>;
QString casNature(const Prefixes& prefixes, int encaissement, QVariantList* valeurs);

} // namespace FragmentsStatistiques
