#pragma once
// The settings window: one row per reservation state with its name, its
// publication box, a swatch of its colour and "Changer Couleur". A colour
// chosen is stored at once and the planning is told (couleurChangee); the
// publication box is stored when ticked or unticked.
#include <QColor>
#include <QDialog>
#include <QList>

struct Contexte;
class BaseDeDonnees;
class QCheckBox;
class QColorDialog;
class QLabel;
class QPushButton;
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
    QList<QLabel*> fondetats;
    QList<QCheckBox*> internet;
    QList<QWidget*> fondetatcouleurs;
    QList<QPushButton*> fondchangercouleurs;
    BaseDeDonnees* BaseDeDonnees1;
    xpcmdbutton* Quitter;
    QColorDialog* msg;

    // Design positions, in twips.
    static QRect positionEtat0() { return QRect(120, 0, 3735, 255); }
    static QRect positionInternet0() { return QRect(3960, 0, 255, 255); }
    static QRect positionCouleur0() { return QRect(4320, 0, 375, 255); }
    static QRect positionBouton0() { return QRect(4740, 0, 1920, 255); }
    static QColor couleurDessin() { return QColor(255, 0, 0); }

signals:
    // A state's colour was stored: the planning redraws its bars.
    void couleurChangee();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void habiller();
    void construireFond();
    void construireOngletCouleurs(QWidget* page);
    void ajouterLigne();
    void charger();
    void placerLigne(int i);
    void ajusterDefilement();
    void fixerCouleur(int index, const QColor& couleur);
    void revenirCouleurStockee(int index, const QColor& avant);
    void revenirPublicationStockee(int index, bool publieDemande);
    void mettreAJourTableEtats(qint32 code, qint32 valeur);
    QString nomLigne(int index) const;

    Contexte* m_contexte;
};
