#include "statistiquesfenetre.h"

#include "config/chemins.h"
#include "config/fichiers.h"
#include "facturation/documents.h"
#include "facturation/etablissement.h"
#include "statistiques/graphiques.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

template <typename T>
T* nomme(T* controle, const char* nom)
{
    controle->setObjectName(QLatin1String(nom));
    return controle;
}

QTableWidget* nouvelleTable(QWidget* parent, const char* nom)
{
    auto* table = nomme(new QTableWidget(parent), nom);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setAlternatingRowColors(true);
    return table;
}

QChartView* nouvelleVue(QWidget* parent, const char* nom)
{
    auto* vue = nomme(new QChartView(parent), nom);
    vue->setRenderHint(QPainter::Antialiasing);
    vue->setMinimumHeight(180);
    return vue;
}

// A stored colour 0x00BBGGRR; grey when it is not one.
QColor couleurEtat(const QVariant& valeur)
{
    bool ok = false;
    const qlonglong v = valeur.toLongLong(&ok);
    if (valeur.isNull() || !ok || v < 0 || v > 0xFFFFFF)
        return QColor(Qt::gray);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

const char* const kNomsOnglets[] = {"resume", "logements", "mois", "taxe", "restedu"};

} // namespace

StatistiquesFenetre::StatistiquesFenetre(Contexte* contexte, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Statistiques"));
    setWindowTitle(QStringLiteral("Statistiques"));
    setAttribute(Qt::WA_DeleteOnClose);
    construirePeriode();
    construireOnglets();
    resize(900, 640);
    montrerPeriode();
    rafraichir();
    rafraichirTaxe();
}

void StatistiquesFenetre::construirePeriode()
{
    const QDate aujourdhui = Horloge::aujourdhui();
    genre = nomme(new QComboBox(this), "genre");
    genre->addItems({QStringLiteral("Mois"), QStringLiteral("Année"), QStringLiteral("Dates")});
    mois = nomme(new QComboBox(this), "mois");
    for (int m = 1; m <= 12; ++m)
        mois->addItem(Dates::nomMoisMinuscule(m));
    mois->setCurrentIndex(aujourdhui.month() - 1);
    annee = nomme(new QSpinBox(this), "annee");
    annee->setRange(1900, 2999);
    annee->setValue(aujourdhui.year());
    debut = nomme(new QDateEdit(QDate(aujourdhui.year(), aujourdhui.month(), 1), this), "debut");
    fin = nomme(new QDateEdit(debut->date().addMonths(1).addDays(-1), this), "fin");
    for (QDateEdit* d : {debut, fin}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    categorie = nomme(new QComboBox(this), "categorie");
    categorie->addItem(QStringLiteral("Toutes les catégories"));
    for (const QString& c : RequetesStatistiques::categories(m_contexte->BaseOuverte).value_or(QStringList()))
        categorie->addItem(c, c);
    Exporter = nomme(new QPushButton(QStringLiteral("Exporter"), this), "Exporter");
    Exporter->setToolTip(QStringLiteral("Enregistre le tableau affiché en CSV et la page en PDF dans le dossier Documents"));
    message = nomme(new QLabel(this), "message");
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    connect(genre, &QComboBox::currentIndexChanged, this, [this] { montrerPeriode(); rafraichir(); });
    connect(mois, &QComboBox::currentIndexChanged, this, &StatistiquesFenetre::rafraichir);
    connect(annee, &QSpinBox::valueChanged, this, &StatistiquesFenetre::rafraichir);
    connect(debut, &QDateEdit::dateChanged, this, &StatistiquesFenetre::rafraichir);
    connect(fin, &QDateEdit::dateChanged, this, &StatistiquesFenetre::rafraichir);
    connect(categorie, &QComboBox::currentIndexChanged, this, [this] { rafraichir(); rafraichirTaxe(); });
    connect(Exporter, &QPushButton::clicked, this, &StatistiquesFenetre::Exporter_Click);
}

void StatistiquesFenetre::construireOnglets()
{
    onglets = nomme(new QTabWidget(this), "onglets");

    auto* pageResume = new QWidget;
    tableresume = nouvelleTable(pageResume, "tableresume");
    ignores = nomme(new QLabel(pageResume), "ignores");
    auto* dr = new QVBoxLayout(pageResume);
    dr->addWidget(tableresume, 1);
    dr->addWidget(ignores);
    onglets->addTab(pageResume, QStringLiteral("Résumé"));

    auto* pageUnites = new QSplitter(Qt::Vertical);
    tableunites = nouvelleTable(pageUnites, "tableunites");
    graphiqueunites = nouvelleVue(pageUnites, "graphiqueunites");
    pageUnites->addWidget(tableunites);
    pageUnites->addWidget(graphiqueunites);
    onglets->addTab(pageUnites, QStringLiteral("Par logement"));

    auto* pageMois = new QSplitter(Qt::Vertical);
    tablemois = nouvelleTable(pageMois, "tablemois");
    graphiqueoccupation = nouvelleVue(pageMois, "graphiqueoccupation");
    graphiquerecettes = nouvelleVue(pageMois, "graphiquerecettes");
    pageMois->addWidget(tablemois);
    pageMois->addWidget(graphiqueoccupation);
    pageMois->addWidget(graphiquerecettes);
    onglets->addTab(pageMois, QStringLiteral("Par mois"));

    auto* pageTaxe = new QWidget;
    taxegenre = nomme(new QComboBox(pageTaxe), "taxegenre");
    taxegenre->addItems({QStringLiteral("Mois"), QStringLiteral("Trimestre")});
    taxeperiode = nomme(new QComboBox(pageTaxe), "taxeperiode");
    taxeannee = nomme(new QSpinBox(pageTaxe), "taxeannee");
    taxeannee->setRange(1900, 2999);
    taxeannee->setValue(Horloge::aujourdhui().year());
    tabletaxe = nouvelleTable(pageTaxe, "tabletaxe");
    taxeecart = nomme(new QLabel(pageTaxe), "taxeecart");
    taxeecart->setWordWrap(true);
    taxeecart->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Déclaration :"), pageTaxe));
    haut->addWidget(taxegenre);
    haut->addWidget(taxeperiode);
    haut->addWidget(taxeannee);
    haut->addStretch(1);
    auto* dt = new QVBoxLayout(pageTaxe);
    dt->addLayout(haut);
    dt->addWidget(tabletaxe, 1);
    dt->addWidget(taxeecart);
    onglets->addTab(pageTaxe, QStringLiteral("Taxe de séjour"));

    tablerestedu = nouvelleTable(this, "tablerestedu");
    onglets->addTab(tablerestedu, QStringLiteral("Reste dû"));

    auto remplirPeriodesTaxe = [this] {
        const QSignalBlocker bloque(taxeperiode);
        taxeperiode->clear();
        if (taxegenre->currentIndex() == 0) {
            for (int m = 1; m <= 12; ++m)
                taxeperiode->addItem(Dates::nomMoisMinuscule(m));
            taxeperiode->setCurrentIndex(Horloge::aujourdhui().month() - 1);
        } else {
            taxeperiode->addItems({QStringLiteral("1er trimestre"), QStringLiteral("2e trimestre"),
                                   QStringLiteral("3e trimestre"), QStringLiteral("4e trimestre")});
            taxeperiode->setCurrentIndex((Horloge::aujourdhui().month() - 1) / 3);
        }
    };
    remplirPeriodesTaxe();
    connect(taxegenre, &QComboBox::currentIndexChanged, this, [this, remplirPeriodesTaxe] {
        remplirPeriodesTaxe();
        rafraichirTaxe();
    });
    connect(taxeperiode, &QComboBox::currentIndexChanged, this, &StatistiquesFenetre::rafraichirTaxe);
    connect(taxeannee, &QSpinBox::valueChanged, this, &StatistiquesFenetre::rafraichirTaxe);

    auto* periode = new QHBoxLayout;
    periode->addWidget(new QLabel(QStringLiteral("Période :"), this));
    for (QWidget* w : std::initializer_list<QWidget*>{genre, mois, annee, debut, fin, categorie})
        periode->addWidget(w);
    periode->addStretch(1);
    periode->addWidget(Exporter);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(periode);
    disposition->addWidget(message);
    disposition->addWidget(onglets, 1);
}

void StatistiquesFenetre::montrerPeriode()
{
    const int g = genre->currentIndex();
    mois->setVisible(g == Mois);
    annee->setVisible(g != Dates);
    debut->setVisible(g == Dates);
    fin->setVisible(g == Dates);
}

QPair<QDate, QDate> StatistiquesFenetre::periode() const
{
    switch (genre->currentIndex()) {
    case Mois:
        return {TaxeSejour::DebutMois(annee->value(), mois->currentIndex() + 1),
                TaxeSejour::FinMois(annee->value(), mois->currentIndex() + 1)};
    case Annee:
        return {QDate(annee->value(), 1, 1), QDate(annee->value(), 12, 31)};
    default:
        return {debut->date(), fin->date()};
    }
}

std::optional<QString> StatistiquesFenetre::categorieChoisie() const
{
    if (categorie->currentIndex() <= 0)
        return std::nullopt;
    return categorie->currentData().toString();
}

void StatistiquesFenetre::remplir(QTableWidget* table, const Tableaux::Tableau& tableau)
{
    table->clear();
    table->setColumnCount(int(tableau.entetes.size()));
    table->setHorizontalHeaderLabels(tableau.entetes);
    table->setRowCount(int(tableau.lignes.size()));
    for (int i = 0; i < tableau.lignes.size(); ++i)
        for (int j = 0; j < tableau.lignes[i].size(); ++j) {
            const QString& texte = tableau.lignes[i][j];
            auto* item = new QTableWidgetItem(texte);
            bool nombre = false;
            QString(texte).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&nombre);
            if (nombre && j > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(i, j, item);
        }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
}

void StatistiquesFenetre::montrerGraphique(QChartView* vue, QChart* graphique)
{
    QChart* ancien = vue->chart();
    vue->setChart(graphique);
    delete ancien;
}

void StatistiquesFenetre::rafraichir()
{
    const auto [premier, dernier] = periode();
    QString erreur;
    m_chiffres = Statistiques::Calculer(m_contexte->BaseOuverte, premier, dernier, categorieChoisie(), &erreur);
    // A refused period shows empty tables and charts, and why.
    const Statistiques::Chiffres c = m_chiffres.value_or(Statistiques::Chiffres{premier, dernier});
    message->setStyleSheet(m_chiffres ? QString() : QStringLiteral("color: #b00020;"));
    message->setText(m_chiffres ? QString() : erreur);
    ignores->setText(Statistiques::LigneIgnores(c.ignores));
    ignores->setVisible(c.ignores > 0);
    remplir(tableunites, Tableaux::ParUnite(c));
    remplir(tablemois, Tableaux::ParMois(c));
    m_resteDu = m_chiffres ? ResteDu::Lire(m_contexte->BaseOuverte, premier, dernier, categorieChoisie(),
                                           Etablissement::TaxeDeSejour(m_contexte->CheminINI), &erreur)
                           : std::nullopt;
    if (m_chiffres && !m_resteDu)
        message->setText(QStringLiteral("Les comptes ne peuvent pas être lus : ") + erreur);
    remplir(tablerestedu, Tableaux::ResteDu(m_resteDu.value_or(ResteDu::Etat{premier, dernier})));
    remplir(tableresume, Tableaux::Resume(c, m_resteDu ? &*m_resteDu : nullptr));

    QList<Graphiques::Etat> etats;
    for (const auto& e : RequetesStatistiques::etats(m_contexte->BaseOuverte).value_or(QList<RequetesStatistiques::Etat>()))
        etats.append({e.code, e.nom, couleurEtat(e.couleur)});
    montrerGraphique(graphiqueunites, Graphiques::Unites(c, etats));
    montrerGraphique(graphiqueoccupation, Graphiques::Occupation(c, etats));
    montrerGraphique(graphiquerecettes, Graphiques::Recettes(c));
    Exporter->setEnabled(m_chiffres.has_value() || onglets->currentIndex() == Taxe);
}

void StatistiquesFenetre::rafraichirTaxe()
{
    const int n = taxeperiode->currentIndex() + 1;
    const int a = taxeannee->value();
    const bool parMois = taxegenre->currentIndex() == 0;
    const QDate premier = parMois ? TaxeSejour::DebutMois(a, n) : TaxeSejour::DebutTrimestre(a, n);
    const QDate dernier = parMois ? TaxeSejour::FinMois(a, n) : TaxeSejour::FinTrimestre(a, n);
    QString erreur;
    m_declaration = TaxeSejour::Lire(m_contexte->BaseOuverte, premier, dernier,
                                     Etablissement::TaxeDeSejour(m_contexte->CheminINI), categorieChoisie(), &erreur);
    remplir(tabletaxe, Tableaux::Taxe(m_declaration.value_or(TaxeSejour::Declaration{premier, dernier})));
    taxeecart->setText(m_declaration ? Tableaux::EcartTaxe(*m_declaration) : QString());
    if (!m_declaration)
        message->setText(QStringLiteral("Les séjours ne peuvent pas être lus : ") + erreur);
}

Tableaux::Tableau StatistiquesFenetre::tableauMontre() const
{
    switch (onglets->currentIndex()) {
    case ParLogement:
        return Tableaux::ParUnite(*m_chiffres);
    case ParMois:
        return Tableaux::ParMois(*m_chiffres);
    case Taxe:
        return Tableaux::Taxe(*m_declaration);
    case Reste:
        return Tableaux::ResteDu(*m_resteDu);
    default:
        return Tableaux::Resume(*m_chiffres, m_resteDu ? &*m_resteDu : nullptr);
    }
}

QList<QChartView*> StatistiquesFenetre::graphiquesMontres() const
{
    switch (onglets->currentIndex()) {
    case ParLogement:
        return {graphiqueunites};
    case ParMois:
        return {graphiqueoccupation, graphiquerecettes};
    default:
        return {};
    }
}

QStringList StatistiquesFenetre::Exporter_Click()
{
    const int onglet = onglets->currentIndex();
    const bool pret = onglet == Taxe ? m_declaration.has_value()
        : onglet == Reste ? m_resteDu.has_value()
                                     : m_chiffres.has_value();
    if (!pret) {
        message->setText(QStringLiteral("Rien à exporter : la période choisie n'a pas de chiffres."));
        return {};
    }
    const Tableaux::Tableau tableau = tableauMontre();
    const QDate premier = onglet == Taxe ? m_declaration->debut : m_chiffres->debut;
    const QDate dernier = onglet == Taxe ? m_declaration->fin : m_chiffres->fin;
    const QString base = Chemins::dansDossier(QStringLiteral("Documents/statistiques_%1_%2_%3")
        .arg(QLatin1String(kNomsOnglets[onglet]), premier.toString(QStringLiteral("yyyy-MM-dd")),
             dernier.toString(QStringLiteral("yyyy-MM-dd"))));
    const QString csv = base + QStringLiteral(".csv");
    const QString pdf = base + QStringLiteral(".pdf");
    QString erreur;
    if (!QDir().mkpath(QFileInfo(csv).absolutePath())) {
        erreur = QStringLiteral("Le dossier « %1 » ne peut pas être créé.").arg(QFileInfo(csv).absolutePath());
    } else {
        if (const QString raison = Fichiers::Ecrire(csv, Tableaux::Csv(tableau)); !raison.isEmpty())
            erreur = Fichiers::MessageNonEcrit(csv, raison);
        else
            ecrirePdf(tableau, pdf, &erreur);
    }
    if (!erreur.isEmpty()) {
        message->setText(QStringLiteral("L'export n'a pas été fait. ") + erreur);
        return {};
    }
    message->setText(QStringLiteral("Exporté dans %1 et %2").arg(QDir::toNativeSeparators(csv), QDir::toNativeSeparators(pdf)));
    return {csv, pdf};
}

bool StatistiquesFenetre::ecrirePdf(const Tableaux::Tableau& tableau, const QString& chemin, QString* erreur) const
{
    QTextDocument document;
    QString html = QStringLiteral("<h2>%1</h2>").arg(tableau.titre.toHtmlEscaped());
    int n = 0;
    for (QChartView* vue : graphiquesMontres()) {
        // Drawn at a fixed size, whatever the window's, for a sharp page.
        QImage image(QSize(1600, 700), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter peintre(&image);
        peintre.setRenderHint(QPainter::Antialiasing);
        const QSize avant = vue->size();
        vue->chart()->resize(image.size());
        vue->chart()->scene()->render(&peintre, QRectF(QPointF(0, 0), image.size()), QRectF(QPointF(0, 0), image.size()));
        peintre.end();
        vue->chart()->resize(avant);
        const QUrl nom(QStringLiteral("graphique%1.png").arg(n++));
        document.addResource(QTextDocument::ImageResource, nom, image);
        html += QStringLiteral("<p><img src=\"%1\" width=\"640\"></p>").arg(nom.toString());
    }
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& e : tableau.entetes)
        html += QStringLiteral("<th>%1</th>").arg(e.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const QStringList& l : tableau.lignes) {
        html += QStringLiteral("<tr>");
        for (const QString& c : l)
            html += QStringLiteral("<td>%1</td>").arg(c.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    document.setHtml(html);

    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    const QByteArray octets = Documents::PdfDuDocument(document, tableau.titre, 12);
    if (const QString raison = Fichiers::Ecrire(chemin, octets); !raison.isEmpty()) {
        if (erreur)
            *erreur = Fichiers::MessageNonEcrit(chemin, raison);
        return false;
    }
    return true;
}
