#pragma once
// The "Arrhes à recevoir" tab of the "Journée" window: the stays whose
// deposit is not wholly received, the late ones first and in red. A
// double-click or Enter on a stay asks to open it.
#include "journee/arrhesarecevoir.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

class OngletArrhes : public QWidget
{
    Q_OBJECT
public:
    explicit OngletArrhes(QWidget* parent = nullptr);

    // Shows these lines, in their order; `erreur` instead when not empty.
    void afficher(const QList<ArrhesARecevoir::Ligne>& lignes, const QString& erreur = QString());
    const QList<ArrhesARecevoir::Ligne>& lignes() const { return m_lignes; }

    QTreeWidget* arrhesarecevoir;
    QLabel* totalarrhes;

Q_SIGNALS:
    void ouvrirReservation(qint32 numero);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    QList<ArrhesARecevoir::Ligne> m_lignes;
};
