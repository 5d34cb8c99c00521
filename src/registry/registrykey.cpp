#include "registrykey.h"

#include <QDateTime>
#include <QDir>
#include <QJsonParseError>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

const QString kCles = QStringLiteral("cles");
const QString kValeurs = QStringLiteral("valeurs");

struct CleOuverte {
    quint32 racine = 0;
    QStringList parties;
    qint32 droits = 0;
};

QHash<quint32, CleOuverte>& clesOuvertes()
{
    static QHash<quint32, CleOuverte> table;
    return table;
}

quint32 g_prochainHandle = 0x100;
QString g_cheminStockage;

QString nomRacine(quint32 racine)
{
    switch (racine) {
    case RegistryKey::HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryKey::HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryKey::HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryKey::HKEY_USERS: return QStringLiteral("HKEY_USERS");
    case RegistryKey::HKEY_PERFORMANCE_DATA: return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case RegistryKey::HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case RegistryKey::HKEY_DYN_DATA: return QStringLiteral("HKEY_DYN_DATA");
    default: return QString();
    }
}

QStringList decouper(const QString& sousCle)
{
    return sousCle.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// A store file that does not read as a JSON object is put aside under a
// name of its own before anything else happens, so the next write cannot
// overwrite the keys it may still hold.
void mettreDeCote(const QString& chemin, const QString& raison)
{
    const QString base = chemin + QStringLiteral(".illisible-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString nom = base;
    for (int n = 2; QFileInfo::exists(nom); ++n)
        nom = base + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(chemin, nom))
        std::fprintf(stderr, "Registre illisible (%s) : %s mis de côté sous %s\n",
                     qPrintable(raison), qPrintable(chemin), qPrintable(nom));
    else
        std::fprintf(stderr, "Registre illisible (%s) : %s n'a pas pu être mis de côté\n",
                     qPrintable(raison), qPrintable(chemin));
}

// The store's contents; nullopt when the file is there but cannot be used,
// and must then not be written over.
std::optional<QJsonObject> charger()
{
    const QString chemin = RegistryKey::cheminStockage();
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return f.exists() ? std::nullopt : std::optional<QJsonObject>(QJsonObject());
    const QByteArray octets = f.readAll();
    f.close();
    if (octets.trimmed().isEmpty())
        return QJsonObject();
    QJsonParseError erreur;
    const QJsonDocument document = QJsonDocument::fromJson(octets, &erreur);
    if (erreur.error != QJsonParseError::NoError || !document.isObject()) {
        mettreDeCote(chemin, erreur.error != QJsonParseError::NoError ? erreur.errorString()
                                                                       : QStringLiteral("pas un objet JSON"));
        return QFileInfo::exists(chemin) ? std::nullopt : std::optional<QJsonObject>(QJsonObject());
    }
    return document.object();
}

bool sauver(const QJsonObject& racine)
{
    QDir().mkpath(QFileInfo(RegistryKey::cheminStockage()).absolutePath());
    QSaveFile f(RegistryKey::cheminStockage());
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QJsonDocument(racine).toJson());
    return f.commit();
}

// The stored spelling of a name in an object, matched without regard to case.
QString nomStocke(const QJsonObject& objet, const QString& nom)
{
    for (auto it = objet.begin(); it != objet.end(); ++it)
        if (it.key().compare(nom, Qt::CaseInsensitive) == 0)
            return it.key();
    return QString();
}

// Walks to the node of `parties` under `noeud` and calls `action` on it.
// With `creer`, missing levels are created and `*cree` tells whether the
// last one was. Returns false when a level is missing (and not created).
bool visiter(QJsonObject& noeud, QStringList parties, bool creer, bool* cree,
             const std::function<void(QJsonObject&)>& action)
{
    if (parties.isEmpty()) {
        action(noeud);
        return true;
    }
    QJsonObject cles = noeud.value(kCles).toObject();
    QString nom = nomStocke(cles, parties.first());
    if (nom.isEmpty()) {
        if (!creer)
            return false;
        nom = parties.first();
        cles.insert(nom, QJsonObject());
        if (cree)
            *cree = parties.size() == 1;
    }
    QJsonObject enfant = cles.value(nom).toObject();
    parties.removeFirst();
    if (!visiter(enfant, parties, creer, cree, action))
        return false;
    cles.insert(nom, enfant);
    noeud.insert(kCles, cles);
    return true;
}

// Reads the node of a key; false when it does not exist.
bool lireNoeud(quint32 racine, const QStringList& parties, QJsonObject* resultat)
{
    const QString nom = nomRacine(racine);
    if (nom.isEmpty())
        return false;
    const auto tout = charger();
    if (!tout)
        return false;
    QJsonObject noeud = tout->value(nom).toObject();
    return visiter(noeud, parties, false, nullptr, [&](QJsonObject& n) { *resultat = n; });
}

// Changes the node of an existing key (or creates it with `creer`) and saves.
bool changerNoeud(quint32 racine, const QStringList& parties, bool creer, bool* cree,
                  const std::function<void(QJsonObject&)>& action)
{
    const QString nom = nomRacine(racine);
    if (nom.isEmpty())
        return false;
    auto tout = charger();
    if (!tout)
        return false; // a file that cannot be read is never written over
    QJsonObject noeud = tout->value(nom).toObject();
    if (!visiter(noeud, parties, creer, cree, action))
        return false;
    tout->insert(nom, noeud);
    return sauver(*tout);
}

} // namespace

QString RegistryKey::cheminStockage()
{
    if (!g_cheminStockage.isEmpty())
        return g_cheminStockage;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/orvane-planning/registre.json");
}

void RegistryKey::fixerCheminStockage(const QString& chemin)
{
    g_cheminStockage = chemin;
}

RegistryKey::~RegistryKey()
{
    CloseKey();
}

bool RegistryKey::echec(qint32 numero, const QString& source, const QString& description)
{
    m_erreur = {numero, source, description};
    return false;
}

bool RegistryKey::CreateKey(quint32 hkeyRoot, const QString& sSubkey, const QString&, qint32, qint32 lRights)
{
    CloseKey();
    bool cree = false;
    const QStringList parties = decouper(sSubkey);
    if (!changerNoeud(hkeyRoot, parties, true, &cree, [](QJsonObject&) {}))
        return false;
    m_handle = g_prochainHandle++;
    clesOuvertes().insert(m_handle, {hkeyRoot, parties, lRights});
    return cree;
}

void RegistryKey::OpenKey(quint32 hkeyRoot, const QString& sSubkey, qint32 lRights)
{
    CloseKey();
    const QStringList parties = decouper(sSubkey);
    QJsonObject noeud;
    bool existe = lireNoeud(hkeyRoot, parties, &noeud);
    if (!existe && lRights == KEY_WRITE && !nomRacine(hkeyRoot).isEmpty()) {
        CreateKey(hkeyRoot, sSubkey, QString(), 0, KEY_ALL_ACCESS);
        CloseKey();
        existe = lireNoeud(hkeyRoot, parties, &noeud);
    }
    if (!existe)
        return;
    m_handle = g_prochainHandle++;
    clesOuvertes().insert(m_handle, {hkeyRoot, parties, lRights});
}

bool RegistryKey::CloseKey()
{
    if (m_handle == 0)
        return true;
    if (!clesOuvertes().remove(m_handle))
        return echec(ERROR_INVALID_HANDLE, QStringLiteral("RegistryKey.CloseKey"),
                     QStringLiteral("An error occurred while closing the registy key"));
    m_handle = 0;
    return true;
}

qint32 RegistryKey::GetRegistryValueLen(const QString& sName)
{
    const auto ouverte = clesOuvertes().value(m_handle);
    QJsonObject noeud;
    QString nom;
    if (m_handle != 0 && lireNoeud(ouverte.racine, ouverte.parties, &noeud))
        nom = nomStocke(noeud.value(kValeurs).toObject(), sName);
    if (nom.isEmpty()) {
        echec(m_handle == 0 ? ERROR_INVALID_HANDLE : ERROR_FILE_NOT_FOUND,
              QStringLiteral("RegistryKey.GetRegistryValueLen"),
              QStringLiteral("An error occurred while getting the length of the registy value '%1'").arg(sName));
        return 0;
    }
    // Stored as a zero-terminated 8-bit string: the zero is counted.
    return qint32(noeud.value(kValeurs).toObject().value(nom).toString().size() + 1);
}

QString RegistryKey::Value(const QString& sName)
{
    const qint32 taille = GetRegistryValueLen(sName);
    if (taille == 0) {
        echec(m_erreur.numero, QStringLiteral("RegistryKey.Get Value"),
              QStringLiteral("Unable to get the length of the registy value '%1'").arg(sName));
        return QString();
    }
    const auto ouverte = clesOuvertes().value(m_handle);
    QJsonObject noeud;
    if (!lireNoeud(ouverte.racine, ouverte.parties, &noeud))
        return QString();
    const QJsonObject valeurs = noeud.value(kValeurs).toObject();
    return valeurs.value(nomStocke(valeurs, sName)).toString();
}

void RegistryKey::setValue(const QString& sName, const QVariant& vValue)
{
    if (m_handle == 0)
        return;
    const auto ouverte = clesOuvertes().value(m_handle);
    if ((ouverte.droits & 0x2) == 0) // no KEY_SET_VALUE right: refused, status ignored
        return;
    const QString texte = vValue.toString();
    changerNoeud(ouverte.racine, ouverte.parties, false, nullptr, [&](QJsonObject& n) {
        QJsonObject valeurs = n.value(kValeurs).toObject();
        const QString existant = nomStocke(valeurs, sName);
        valeurs.insert(existant.isEmpty() ? sName : existant, texte);
        n.insert(kValeurs, valeurs);
    });
}

QStringList RegistryKey::ValueNames()
{
    const auto ouverte = clesOuvertes().value(m_handle);
    QJsonObject noeud;
    if (m_handle == 0 || !lireNoeud(ouverte.racine, ouverte.parties, &noeud)) {
        echec(ERROR_INVALID_HANDLE, QStringLiteral("RegistryKey.GetValues"),
              QStringLiteral("Unable to retrieve value names for registry key"));
        return {};
    }
    QStringList noms;
    for (const QString& nom : noeud.value(kValeurs).toObject().keys())
        if (!nom.isEmpty())
            noms.append(nom);
    return noms;
}

QStringList RegistryKey::SubKeyNames()
{
    const auto ouverte = clesOuvertes().value(m_handle);
    QJsonObject noeud;
    if (m_handle == 0 || !lireNoeud(ouverte.racine, ouverte.parties, &noeud))
        return {};
    return noeud.value(kCles).toObject().keys();
}

QStringList RegistryKey::SubValueNames()
{
    const QStringList noms = ValueNames();
    return noms;
}

bool RegistryKey::DeleteKey(quint32 hkeyRoot, const QString& sSubkey)
{
    QStringList parties = decouper(sSubkey);
    const QString description = QStringLiteral("Unable to delete registry key '%1'").arg(sSubkey);
    if (parties.isEmpty())
        return echec(ERROR_ACCESS_DENIED, QStringLiteral("RegistryKey.DeleteKey"), description);
    QJsonObject cible;
    if (!lireNoeud(hkeyRoot, parties, &cible))
        return echec(ERROR_FILE_NOT_FOUND, QStringLiteral("RegistryKey.DeleteKey"), description);
    if (!cible.value(kCles).toObject().isEmpty())
        return echec(ERROR_ACCESS_DENIED, QStringLiteral("RegistryKey.DeleteKey"), description);
    const QString dernier = parties.takeLast();
    const bool ok = changerNoeud(hkeyRoot, parties, false, nullptr, [&](QJsonObject& parent) {
        QJsonObject cles = parent.value(kCles).toObject();
        cles.remove(nomStocke(cles, dernier));
        parent.insert(kCles, cles);
    });
    return ok || echec(ERROR_ACCESS_DENIED, QStringLiteral("RegistryKey.DeleteKey"), description);
}

bool RegistryKey::DeleteSubKey(const QString& sSubkey)
{
    const auto ouverte = clesOuvertes().value(m_handle);
    RegistryKey aide;
    const bool ok = m_handle != 0
        && aide.DeleteKey(ouverte.racine, (ouverte.parties + decouper(sSubkey)).join(QLatin1Char('\\')));
    if (ok)
        return true;
    return echec(m_handle == 0 ? ERROR_INVALID_HANDLE : aide.derniereErreur().numero,
                 QStringLiteral("RegistryKey.DeleteSubKey"),
                 QStringLiteral("Unable to delete registry subkey '%1'").arg(sSubkey));
}

bool RegistryKey::DeleteValue(const QString& sName)
{
    const auto ouverte = clesOuvertes().value(m_handle);
    bool trouve = false;
    if (m_handle != 0)
        changerNoeud(ouverte.racine, ouverte.parties, false, nullptr, [&](QJsonObject& n) {
            QJsonObject valeurs = n.value(kValeurs).toObject();
            const QString nom = nomStocke(valeurs, sName);
            trouve = !nom.isEmpty();
            valeurs.remove(nom);
            n.insert(kValeurs, valeurs);
        });
    if (trouve)
        return true;
    return echec(m_handle == 0 ? ERROR_INVALID_HANDLE : ERROR_FILE_NOT_FOUND, QStringLiteral("RegistryKey.DeleteValue"),
                 QStringLiteral("Unable to delete registry value '%1'").arg(sName));
}
