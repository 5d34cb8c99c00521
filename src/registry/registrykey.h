#pragma once
// One open key of the registry store: a tree of keys under a few named
// roots, each key holding named text values. Key and value names match
// without regard to case. The store is one file in the user's
// configuration folder, rewritten safely at each change.
#include <QString>
#include <QStringList>
#include <QVariant>

class RegistryKey
{
public:
    static constexpr quint32 HKEY_CLASSES_ROOT = 0x80000000u;
    static constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
    static constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002u;
    static constexpr quint32 HKEY_USERS = 0x80000003u;
    static constexpr quint32 HKEY_PERFORMANCE_DATA = 0x80000004u;
    static constexpr quint32 HKEY_CURRENT_CONFIG = 0x80000005u;
    static constexpr quint32 HKEY_DYN_DATA = 0x80000006u;

    static constexpr qint32 KEY_READ = 0x20019;
    static constexpr qint32 KEY_WRITE = 0x20006;
    static constexpr qint32 KEY_ALL_ACCESS = 0xF003F;

    static constexpr qint32 ERROR_FILE_NOT_FOUND = 2;
    static constexpr qint32 ERROR_ACCESS_DENIED = 5;
    static constexpr qint32 ERROR_INVALID_HANDLE = 6;
    static constexpr qint32 ERROR_NO_MORE_ITEMS = 259;

    // An error an operation reports instead of throwing.
    struct Erreur {
        qint32 numero = 0;
        QString source;
        QString description;
    };

    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // True only when the key was newly created.
    bool CreateKey(quint32 hkeyRoot, const QString& sSubkey, const QString& sClass, qint32 lOptions, qint32 lRights);
    // Opening with exactly KEY_WRITE creates a missing key and its parents.
    void OpenKey(quint32 hkeyRoot, const QString& sSubkey, qint32 lRights);
    bool CloseKey();
    quint32 handle() const { return m_handle; }

    QString Value(const QString& sName);
    void setValue(const QString& sName, const QVariant& vValue);
    qint32 GetRegistryValueLen(const QString& sName);
    QStringList ValueNames();
    QStringList SubKeyNames();
    bool DeleteKey(quint32 hkeyRoot, const QString& sSubkey);
    bool DeleteSubKey(const QString& sSubkey);
    bool DeleteValue(const QString& sName);
    QStringList SubValueNames();

    // The error of the last operation that failed.
    const Erreur& derniereErreur() const { return m_erreur; }

    // The file that holds the store (tests point it elsewhere).
    static QString cheminStockage();
    static void fixerCheminStockage(const QString& chemin);

private:
    bool echec(qint32 numero, const QString& source, const QString& description);

    quint32 m_handle = 0;
    Erreur m_erreur;
};
