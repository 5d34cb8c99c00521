#pragma once
// The window that publishes the availability pages of every unit and hands
// them to the upload script, then closes.
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

    // The run: every page, then the upload script; the window closes when
    // every page is written and stays open on a failure.
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

    Contexte* m_contexte;
    QString m_dossier;
    bool m_enCours = false;
    bool m_place = false;
};
