#include "etatssejour.h"

#include "config/ini32.h"
#include "store/contexte.h"
#include "store/requetes.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("reservation");
const QString kCleArrivee = QStringLiteral("etat arrivee");
const QString kCleDepart = QStringLiteral("etat depart");

} // namespace

EtatsSejour::EtatsSejour(Contexte* contexte, QWidget* parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("etatssejour"));
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(2);
    auto boite = [&](const char* nom, const QString& titre, const QString& cle) {
        auto* etiquette = new QLabel(titre, this);
        auto* b = new QComboBox(this);
        b->setObjectName(QLatin1String(nom));
        b->setToolTip(QStringLiteral("Réglage « %1 » de la section [reservation]").arg(cle));
        disposition->addWidget(etiquette);
        disposition->addWidget(b);
        connect(b, &QComboBox::activated, this, [this, b, cle] { choisi(b, cle); });
        return b;
    };
    etatarrivee = boite("etatarrivee", QStringLiteral("État à l'arrivée"), kCleArrivee);
    disposition->addSpacing(6);
    etatdepart = boite("etatdepart", QStringLiteral("État au départ"), kCleDepart);
    disposition->addStretch();
}

void EtatsSejour::charger()
{
    remplir(etatarrivee, kCleArrivee);
    remplir(etatdepart, kCleDepart);
}

void EtatsSejour::remplir(QComboBox* boite, const QString& cle)
{
    const QString chemin = m_contexte ? m_contexte->CheminINI : QString();
    const QString regle = INI32::ProfilINI(kSection, cle, QString(), chemin, 1).trimmed();
    boite->clear();
    boite->addItem(QStringLiteral("(aucun)"), QString());
    if (m_contexte)
        if (const auto etats = Requetes::etats(m_contexte->BaseOuverte))
            for (const Requetes::Etat& e : *etats)
                boite->addItem(QStringLiteral("%1 - %2").arg(e.code).arg(e.nom), QString::number(e.code));
    int i = boite->findData(regle);
    // A state removed since it was chosen is shown as such, not as none.
    if (i < 0) {
        boite->addItem(QStringLiteral("%1 - (état absent)").arg(regle), regle);
        i = boite->count() - 1;
    }
    boite->setCurrentIndex(i);
}

void EtatsSejour::choisi(QComboBox* boite, const QString& cle)
{
    const QString chemin = m_contexte ? m_contexte->CheminINI : QString();
    INI32::ProfilINI(kSection, cle, boite->currentData().toString(), chemin, 0);
}
