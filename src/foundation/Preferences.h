// The mail settings store: one property-list file "com.zolv.card.plist" in the per-user
// configuration folder, held in memory and written only by flush. It holds the SMTP password.
#pragma once

#include "platform/PlistValue.h"

#include <QString>
#include <mutex>

#include <memory>

class Preferences
{
public:
    // The one shared store, created on first use from the default path.
    static Preferences &sharedInstance();
    // Tests: the next sharedInstance() is created afresh from `path` (the default when empty).
    static void resetSharedInstance(const QString &path = QString());
    // The per-user configuration folder of "tessaly-designer" + "/com.zolv.card.plist".
    static QString defaultPath();

    // Reads `path`. A missing file is created empty (mode 0600, in a folder of mode 0700); a file
    // that cannot be read as a dictionary, is not a regular file or is larger than MaxFileBytes
    // is left untouched (and not read); either way the defaults apply.
    explicit Preferences(const QString &path);
    ~Preferences(); // never writes: only flush does
    Preferences(const Preferences &) = delete;
    Preferences &operator=(const Preferences &) = delete;

    // Six short texts take a few hundred bytes; a larger file is none of ours.
    static constexpr qint64 MaxFileBytes = 64 * 1024;

    void setDefaults(); // the five text settings to "" in memory; the SSL flag is left alone

    // Writes every setting atomically with mode 0600. false (and *error) when it failed; the
    // previous file then stays as it was.
    bool flush(QString *error = nullptr);

    QString path() const { return mPreferencesPath; }
    // A file of the windows' own settings ("export.ini", "print.ini") in the same folder.
    QString besidePath(const QString &fileName) const;
    bool loadedFromFile() const { return m_loaded; } // the file held a readable dictionary
    QString loadError() const { return m_loadError; }

    // Getters give a null string for a setting that is not stored. Setters change memory only.
    QString send_email_Recipient() const { return get(QStringLiteral("SendEmailRecipient")); }
    void setsend_email_Recipient(const QString &v) { set(QStringLiteral("SendEmailRecipient"), v); }
    QString send_email_SenderEmail() const { return get(QStringLiteral("SendEmailSender")); }
    void setsend_email_SenderEmail(const QString &v) { set(QStringLiteral("SendEmailSender"), v); }
    QString send_email_Password() const { return get(QStringLiteral("SendEmailPwd")); }
    void setsend_email_Password(const QString &v) { set(QStringLiteral("SendEmailPwd"), v); }
    QString send_email_SMTP_server() const { return get(QStringLiteral("SendEmailSMTP")); }
    void setsend_email_SMTP_server(const QString &v) { set(QStringLiteral("SendEmailSMTP"), v); }
    QString send_email_PORT_num() const { return get(QStringLiteral("SendEmailPORT")); }
    void setsend_email_PORT_num(const QString &v) { set(QStringLiteral("SendEmailPORT"), v); }
    // "Y" or "N"; absent reads as null, which callers treat like "N".
    QString send_email_enable_ssl() const { return get(QStringLiteral("SendEnableSSL")); }
    void setsend_email_enable_ssl(const QString &v) { set(QStringLiteral("SendEnableSSL"), v); }

private:
    QString get(const QString &key) const;
    void set(const QString &key, const QString &value);
    static bool ensurePrivateFolder(const QString &folder);

    const QString mPreferencesPath;
    mutable std::mutex m_mutex;
    plist::Dict mDict; // every key of the file, unknown ones included, so a flush loses nothing
    bool m_loaded = false;
    QString m_loadError;
};
