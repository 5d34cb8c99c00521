#pragma once
// The window that publishes the availability pages of every unit and hands
// them to the upload script. After a run it stays open on what was done
// (pages, folder, upload) until the user closes it with "Fermer".
#include "store/contexte.h"
#include "publish/publication.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class MiseAJourInternet : public QDialog
{
    Q_OBJECT
public:
    explicit MiseAJourInternet(Contexte* contexte, QWidget* parent = nullptr);

    QPushButton* GenerateurInternet = nullptr;
    QPlainTextEdit* avancement = nullptr;   // the progress log, newest line first
    QPlainTextEdit* bilan = nullptr;        // what the last run did, or why it stopped
    QPushButton* Fermer = nullptr;

    // The run: every page, then the upload script; the window then shows
    // the outcome in `bilan` and stays open.
    void GenerateurInternet_Click();
    bool enCours() const { return m_enCours; }

signals:
    // End of a run, whatever its outcome.
    void publicationTerminee(Publication::Issue issue);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void montrerAvancement(const QString& texte);
    void montrerBilan(Publication::Issue issue, const QStringList& lignes);

    Contexte* m_contexte;
    QString m_dossier;
    bool m_enCours = false;
    bool m_place = false;
    QColor m_couleurTexte;   // of `bilan` after a run that went through
};
