#pragma once
// The window "Statistiques": a period (a month, a year or two dates) and a
// category of units; tabs "Résumé", "Par logement", "Par mois" with their
// charts, "Taxe de séjour" (a month or a quarter) and "Reste dû" (what the
// stays of the period still owe, and its cancellations). "Exporter" writes
// the shown table as CSV and the shown page, charts included, as PDF in
// the data folder's "Documents". It only reads the database.
#include "statistiques/restedu.h"
#include "statistiques/statistiques.h"
#include "statistiques/tableaux.h"
#include "statistiques/taxesejour.h"
#include "store/contexte.h"

#include <QStringList>
#include <QWidget>
#include <optional>

class QChart;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

class StatistiquesFenetre : public QWidget
{
    Q_OBJECT
public:
    explicit StatistiquesFenetre(Contexte* contexte, QWidget* parent = nullptr);

    enum Genre { Mois = 0, Annee = 1, Dates = 2 };
    enum Onglet { Resume = 0, ParLogement = 1, ParMois = 2, Taxe = 3, Reste = 4 };

    QComboBox* genre = nullptr;          // "Mois", "Année", "Dates"
    QComboBox* mois = nullptr;
    QSpinBox* annee = nullptr;
    QDateEdit* debut = nullptr;
    QDateEdit* fin = nullptr;
    QComboBox* categorie = nullptr;      // "Toutes les catégories", then each category
    QPushButton* Exporter = nullptr;
    QLabel* message = nullptr;           // a refused period, or where the export went
    QTabWidget* onglets = nullptr;
    QTableWidget* tableresume = nullptr;
    QLabel* ignores = nullptr;           // "n séjours ignorés : dates illisibles"
    QTableWidget* tableunites = nullptr;
    QChartView* graphiqueunites = nullptr;
    QTableWidget* tablemois = nullptr;
    QChartView* graphiqueoccupation = nullptr;
    QChartView* graphiquerecettes = nullptr;
    QComboBox* taxegenre = nullptr;      // "Mois", "Trimestre"
    QComboBox* taxeperiode = nullptr;    // the month or the quarter
    QSpinBox* taxeannee = nullptr;
    QTableWidget* tabletaxe = nullptr;
    QLabel* taxeecart = nullptr;         // the tax due against the tax charged
    QTableWidget* tablerestedu = nullptr;

    // The period chosen (debut, fin), from the period's controls.
    QPair<QDate, QDate> periode() const;
    std::optional<QString> categorieChoisie() const;
    // The figures shown (nullopt when the period is refused or unreadable).
    const std::optional<Statistiques::Chiffres>& chiffres() const { return m_chiffres; }
    const std::optional<TaxeSejour::Declaration>& declaration() const { return m_declaration; }
    const std::optional<ResteDu::Etat>& resteDu() const { return m_resteDu; }

    // Reads the figures again and shows them.
    void rafraichir();
    void rafraichirTaxe();
    // Writes Documents/statistiques_<tab>_<start>_<end>.csv and .pdf; returns
    // both paths, empty when nothing was written (the reason is told).
    QStringList Exporter_Click();

private:
    void construirePeriode();
    void construireOnglets();
    void montrerPeriode();
    void remplir(QTableWidget* table, const Tableaux::Tableau& tableau);
    void montrerGraphique(QChartView* vue, QChart* graphique);
    Tableaux::Tableau tableauMontre() const;
    QList<QChartView*> graphiquesMontres() const;
    bool ecrirePdf(const Tableaux::Tableau& tableau, const QString& chemin, QString* erreur) const;

    Contexte* m_contexte;
    std::optional<Statistiques::Chiffres> m_chiffres;
    std::optional<TaxeSejour::Declaration> m_declaration;
    std::optional<ResteDu::Etat> m_resteDu;
};
