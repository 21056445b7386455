// The mail settings window: sender, password, server, port, SSL or TLS and a test recipient,
// checked, saved into the preferences store, tried with a test message, or reset.
#pragma once

#include "output/MailTransport.h"

#include <QDialog>

#include <functional>
#include <memory>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Email_Setting : public QDialog
{
    Q_OBJECT
public:
    explicit Email_Setting(QWidget *parent = nullptr);
    ~Email_Setting() override;

    static inline const QString TestSubjectSuffix = QStringLiteral(" Test Mail");
    static inline const QString WaitText = QStringLiteral("It may take a while, Please wait...");
    static inline const QString ResetQuestion =
        QStringLiteral("Are you sure you want to reset current email settings?");
    static QString failureText(); // the settings hint and "\n\nCould not send email."
    // The status line after a failed test; the message box gives failureText and the reason.
    static inline const QString FailureLine = QStringLiteral("Could not send email.");
    // The status line after Cancel on the please-wait sheet.
    static inline const QString CancelledLine = QStringLiteral("The test message was cancelled.");
    // A test message the server has not taken within this long is given up.
    static constexpr int TestTimeoutMs = 30000;
    static QString timeoutText(int ms); // "The server did not answer within 30 seconds."

    // Loads the stored settings and runs the window; 1 when saved, 0 when closed.
    int Open_Wnd();

    void Save_Button();
    void Close_Button();
    void Send_Test_Email();
    void Reset_Button();
    void SSL_Selected();
    void TLS_Selected();

    void loadPreferences();
    // Writes the six settings and the file; false (after saying why) when the file was not written.
    bool flushPreferences();
    // The first failing entry is named in a message box and gets the focus. A port is a whole
    // number from 1 to 65535 (blanks around it aside), refused at Save as at a test message.
    bool Check_Validation(bool withRecipient);
    static inline const QString PortRangeMessage =
        QStringLiteral("Please enter a port number from 1 to 65535.");
    static bool isPortNumber(const QString &text);
    // "Y" when SSL is chosen, else "N".
    QString sslFlag() const;

    // Where test messages go; the program's mail script unless a test puts a fake here.
    void setTransport(std::shared_ptr<MailTransport> transport) { m_transport = std::move(transport); }
    // Tests give up sooner than TestTimeoutMs.
    void setTestTimeoutMs(int ms) { m_testTimeoutMs = ms; }
    // Called after the stored settings changed (saved or reset), so the main window reads them again.
    void setSettingsChanged(std::function<void()> changed) { m_settingsChanged = std::move(changed); }

    QLineEdit *_send_mail_to = nullptr;
    QLineEdit *_send_mail_sender_mail = nullptr;
    QLineEdit *_send_mail_smtp = nullptr;
    QLineEdit *_send_mail_port = nullptr;
    QLineEdit *_send_mail_password = nullptr;
    QLabel *_send_mail_result_status = nullptr;
    QRadioButton *_send_mail_ssl = nullptr;
    QRadioButton *_send_mail_tls = nullptr;
    QPushButton *save_button = nullptr;
    QPushButton *close_button = nullptr;
    QPushButton *test_button = nullptr;
    QPushButton *reset_button = nullptr;

private:
    // One maker per group, in the order the user tabs through.
    void makeFields();
    QGroupBox *makeAccountBox();
    QGroupBox *makeTestBox();
    QHBoxLayout *makeButtonRow();
    bool refuse(const QString &text, QLineEdit *field);
    // How a test message ended: the transport's answer, or given up by the user or the clock.
    enum class TestEnd { Sent, NotSent, Cancelled, TimedOut };
    TestEnd sendOffTheGuiThread(const MailTransport::Message &message, const MailTransport::Account &account,
                                QString *error);

    std::shared_ptr<MailTransport> m_transport;
    int m_testTimeoutMs = TestTimeoutMs;
    std::function<void()> m_settingsChanged;
};
