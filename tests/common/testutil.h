#pragma once
// Small helpers shared by the test folders.
#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <QStringList>
#include <functional>

namespace TestUtil {

// Runs the action, closing every message box it shows by its OK button
// (failing the test when the box has other buttons); gives their texts.
QStringList messagesPendant(const std::function<void()>& action);

QByteArray lireFichier(const QString& chemin);
void ecrireFichier(const QString& chemin, const QByteArray& contenu);

// A fresh database with the program's schema in a temporary folder, opened
// under the given connection name. The default states are present.
class BaseTemporaire
{
public:
    explicit BaseTemporaire(const QString& connexion = QStringLiteral("test"));
    ~BaseTemporaire();
    QSqlDatabase base() const;
    QString chemin() const { return m_chemin; }
    QString dossier() const { return m_dossier.path(); }
    // Runs one statement, failing the test when it does not succeed.
    void executer(const QString& sql) const;
    // Scalar result of a query, invalid QVariant on failure.
    QVariant valeur(const QString& sql) const;

private:
    QTemporaryDir m_dossier;
    QString m_chemin;
    QString m_connexion;
};

} // namespace TestUtil
