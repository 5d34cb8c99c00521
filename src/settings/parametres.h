#pragma once
// The settings window. Tab "Couleurs": one row per reservation state with
// its name (edited in place), its publication box, a swatch of its colour and
// "Changer Couleur", plus "Ajouter un état" and "Supprimer" for the chosen
// state. Tab "Objets": the units and their category; tab "Bar": the bar
// articles; tab "Tarifs": the seasons' prices and the tourist tax; tab
// "Établissement": the hotel's details. Every change is stored at once; whatever the planning shows (units, states, colours)
// is announced by couleurChangee so that it redraws.
#include <QColor>
#include <QDialog>
#include <QList>
#include <optional>

struct Contexte;
class BaseDeDonnees;
class QCheckBox;
class QColorDialog;
class EditeurTable;
class EtatsSejour;
class ModeleArticles;
class ModeleObjets;
class OngletEtablissement;
class OngletTarifs;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QScrollBar;
class QTabWidget;
class xpcmdbutton;

class parametres : public QDialog
{
    Q_OBJECT
public:
    explicit parametres(Contexte* contexte, QWidget* parent = nullptr);
    ~parametres() override;

    // "Changer Couleur" of row `index`.
    void fondchangercouleurs_Click(int index);
    // The publication box of row `index` was ticked or unticked by the user.
    void internet_Click(int index);
    // The "Vendu" box of row `index` was ticked or unticked by the user.
    void vendu_Click(int index);
    // The name of row `index` was edited (Enter or leaving the field).
    void fondetats_Change(int index);
    // Asks a name, then a colour, and adds the state; a cancel adds nothing.
    void ajouteretat_Click();
    // Removes the chosen state after a question; refused while it is used.
    void supprimeretat_Click();
    // Row of the state chosen for removal (the name last entered), or -1.
    int etatChoisi() const { return m_etatChoisi; }

    // Code of the state shown in row `index` (the tag of its name label).
    qint32 codeLigne(int index) const;
    QColor couleurLigne(int index) const;

    QWidget* dessin;
    QWidget* Fond;
    QLabel* Label1;
    QTabWidget* SSTab1;
    QWidget* infos;
    QWidget* Picture1;
    QScrollBar* VScroll1;
    QWidget* fondcouleurs;
    QList<QLineEdit*> fondetats;
    QList<QCheckBox*> internet;
    QList<QCheckBox*> vendu;             // counted as sold in the figures
    QList<QWidget*> fondetatcouleurs;
    QList<QPushButton*> fondchangercouleurs;
    BaseDeDonnees* BaseDeDonnees1;
    xpcmdbutton* Quitter;
    QColorDialog* msg;
    QPushButton* ajouteretat;
    QPushButton* supprimeretat;

    ModeleObjets* modeleobjets;
    QTableView* tableobjets;
    QPushButton* ajouterobjet;
    QPushButton* supprimerobjet;

    ModeleArticles* modelearticles;
    QTableView* tablearticles;
    QPushButton* ajouterarticle;
    QPushButton* supprimerarticle;

    // "État à l'arrivée" and "État au départ", beside the states.
    EtatsSejour* etatssejour;

    OngletTarifs* onglettarifs;
    OngletEtablissement* ongletetablissement;

    // Design positions, in twips.
    static QRect positionEtat0() { return QRect(120, 0, 3735, 255); }
    static QRect positionVendu0() { return QRect(3600, 0, 255, 255); }
    static QRect positionInternet0() { return QRect(3960, 0, 255, 255); }
    static QRect positionCouleur0() { return QRect(4320, 0, 375, 255); }
    static QRect positionBouton0() { return QRect(4740, 0, 1920, 255); }
    static QRect positionAjouterEtat() { return QRect(7410, 480, 1695, 375); }
    static QRect positionSupprimerEtat() { return QRect(7410, 975, 1695, 375); }
    static QColor couleurDessin() { return QColor(255, 0, 0); }

signals:
    // Something the planning shows was stored (a state's colour, a state, a
    // unit): the planning reloads and redraws.
    void couleurChangee();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void habiller();
    void construireFond();
    void construireOngletCouleurs(QWidget* page);
    EditeurTable* construireOngletObjets();
    EditeurTable* construireOngletBar();
    void montrerRefus(const QString& message);
    void choisirEtat(int index);
    // Reads the states again after one was added or removed, chooses the
    // row of `codeAChoisir` and tells the planning.
    void recharger(std::optional<qint32> codeAChoisir);
    void ajouterLigne();
    QList<QWidget*> ligne(int i) const;
    void charger();
    void chargerEtats();
    void placerLigne(int i);
    void ajusterDefilement();
    void fixerCouleur(int index, const QColor& couleur);
    void revenirCouleurStockee(int index, const QColor& avant);
    void revenirPublicationStockee(int index, bool publieDemande);
    void mettreAJourTableEtats(qint32 code, qint32 valeur);
    QString nomLigne(int index) const;

    Contexte* m_contexte;
    int m_etatChoisi = -1;
};
