#include "caissedujourfenetre.h"

#include "config/chemins.h"
#include "facturation/caissedujour.h"
#include "store/horloge.h"
#include "store/requetes_caisse.h"

#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* nomme(T* controle, const char* nom)
{
    controle->setObjectName(QLatin1String(nom));
    return controle;
}

} // namespace

CaisseDuJourFenetre::CaisseDuJourFenetre(Contexte* contexte, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("CaisseDuJour"));
    setWindowTitle(QStringLiteral("Caisse du jour"));
    setAttribute(Qt::WA_DeleteOnClose);

    precedent = nomme(new QPushButton(QStringLiteral("<"), this), "precedent");
    precedent->setToolTip(QStringLiteral("Jour précédent"));
    jour = nomme(new QDateEdit(Horloge::aujourdhui(), this), "jour");
    jour->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    jour->setCalendarPopup(true);
    suivant = nomme(new QPushButton(QStringLiteral(">"), this), "suivant");
    suivant->setToolTip(QStringLiteral("Jour suivant"));
    Imprimer = nomme(new QPushButton(QStringLiteral("Imprimer"), this), "Imprimer");
    Imprimer->setToolTip(QStringLiteral("Enregistre la caisse du jour en PDF dans le dossier Documents"));
    for (QPushButton* b : {precedent, suivant})
        b->setFixedWidth(b->sizeHint().height() + 8);

    rapport = nomme(new QPlainTextEdit(this), "rapport");
    rapport->setReadOnly(true);
    rapport->setLineWrapMode(QPlainTextEdit::NoWrap);
    rapport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    message = nomme(new QLabel(this), "message");
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Jour :"), this));
    haut->addWidget(precedent);
    haut->addWidget(jour);
    haut->addWidget(suivant);
    haut->addStretch(1);
    haut->addWidget(Imprimer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(haut);
    disposition->addWidget(rapport, 1);
    disposition->addWidget(message);

    connect(precedent, &QPushButton::clicked, this, [this] { jour->setDate(jour->date().addDays(-1)); });
    connect(suivant, &QPushButton::clicked, this, [this] { jour->setDate(jour->date().addDays(1)); });
    connect(jour, &QDateEdit::dateChanged, this, &CaisseDuJourFenetre::rafraichir);
    connect(Imprimer, &QPushButton::clicked, this, &CaisseDuJourFenetre::Imprimer_Click);

    const QFontMetrics mesure(rapport->font());
    resize(mesure.horizontalAdvance(QLatin1Char('0')) * 72 + 40, mesure.lineSpacing() * 48);
    rafraichir();
}

void CaisseDuJourFenetre::rafraichir()
{
    message->clear();
    QString erreur;
    const QDate date = jour->date();
    const auto lignes = RequetesCaisse::operationsDuJour(m_contexte->BaseOuverte, date, &erreur);
    m_lisible = lignes.has_value();
    if (!m_lisible) {
        m_texte.clear();
        rapport->setPlainText(CaisseDuJour::Titre(date) + QStringLiteral("\n\nLe journal des opérations ne peut pas "
                                                                         "être lu : ") + erreur);
    } else {
        m_texte = CaisseDuJour::Texte(CaisseDuJour::Calculer(date, *lignes));
        rapport->setPlainText(m_texte);
    }
    Imprimer->setEnabled(m_lisible);
}

QString CaisseDuJourFenetre::Imprimer_Click()
{
    if (!m_lisible)
        return {};
    const QString chemin = Chemins::dansDossier(CaisseDuJour::NomDuPdf(jour->date()));
    QString erreur;
    if (!QDir().mkpath(QFileInfo(chemin).absolutePath()))
        erreur = QStringLiteral("Le dossier « ") + QFileInfo(chemin).absolutePath()
            + QStringLiteral(" » ne peut pas être créé.");
    else
        CaisseDuJour::EcrirePdf(m_texte, chemin, &erreur);
    if (!erreur.isEmpty()) {
        message->clear();
        QMessageBox::warning(this, windowTitle(), QStringLiteral("La caisse n'a pas été enregistrée en PDF.\n") + erreur);
        return {};
    }
    message->setText(QStringLiteral("Caisse enregistrée dans ") + QDir::toNativeSeparators(chemin));
    return chemin;
}
