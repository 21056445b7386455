#include "data/ui/ListCharsetDialog.h"

#include "data/ListEncoding.h"
#include "foundation/ui/WindowLook.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ListCharsetDialog::ListCharsetDialog(const QByteArray &bytes, const QString &fileName,
                                     const QList<QByteArray> &readings, QWidget *parent)
    : QDialog(parent), m_bytes(bytes), m_fileName(fileName)
{
    setObjectName(QStringLiteral("ListCharsetDialog"));
    setWindowTitle(QStringLiteral("Character Set"));
    WindowLook::applyBackground(this);

    // A UTF-8 list with a few bad bytes is offered as UTF-8 first: mending the bytes is the way on.
    const bool slips = readings.value(0) == "UTF-8";
    auto *intro = new QLabel(
        (slips ? QStringLiteral("\"%1\" is UTF-8 but for the bytes named below, shown as \u201c\ufffd\u201d. "
                                "Mend them in a text editor and import the list again, or choose the "
                                "character set its rows read right in.")
               : QStringLiteral("\"%1\" reads differently in several character sets. Choose the one its rows "
                                "read right in."))
            .arg(fileName),
        this);
    intro->setWordWrap(true);
    charset_combo = new QComboBox(this);
    charset_combo->setObjectName(QStringLiteral("charset_combo"));
    for (const QByteArray &name : readings)
        charset_combo->addItem(ListEncoding::labelOf(name), name);
    if (!readings.isEmpty())
        charset_combo->insertSeparator(charset_combo->count());
    for (const ListEncoding::Charset &c : ListEncoding::charsets()) {
        if (!readings.contains(c.name))
            charset_combo->addItem(c.label, c.name);
    }
    charset_combo->setCurrentIndex(0);
    auto *comboLabel = new QLabel(QStringLiteral("Character set:"), this);
    comboLabel->setBuddy(charset_combo);

    preview = new QPlainTextEdit(this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setReadOnly(true);
    preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);

    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button->setAutoDefault(false);
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);

    auto *choice = new QHBoxLayout;
    choice->addWidget(comboLabel);
    choice->addWidget(charset_combo, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_button);
    buttons->addWidget(ok_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(choice);
    layout->addWidget(new QLabel(QStringLiteral("First rows as read:"), this));
    layout->addWidget(preview, 1);
    layout->addWidget(m_problem);
    layout->addLayout(buttons);
    resize(560, 380);

    connect(charset_combo, &QComboBox::currentIndexChanged, this, &ListCharsetDialog::showRows);
    connect(ok_button, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_button, &QPushButton::clicked, this, &QDialog::reject);
    showRows();
}

QByteArray ListCharsetDialog::charset() const
{
    return charset_combo->currentData().toByteArray();
}

// The whole file is read in the choice, so OK is offered only for a set that reads all of it.
void ListCharsetDialog::showRows()
{
    const ListText read = ListEncoding::decode(m_bytes, charset(), m_fileName);
    // UTF-8 that has bad bytes is shown with each in its place, so the rows show where to mend.
    const QString text = read.ok()              ? read.text
                         : charset() == "UTF-8" ? QString::fromUtf8(m_bytes.left(PreviewBytes))
                                                : QString();
    QStringList rows;
    qsizetype start = 0;
    while (rows.size() < PreviewRows && start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        rows << text.mid(start, end - start);
        start = end + (text.mid(end, 2) == QLatin1String("\r\n") ? 2 : 1);
    }
    preview->setPlainText(rows.join(QLatin1Char('\n')));
    m_problem->setText(read.problem);
    m_problem->setVisible(!read.ok());
    ok_button->setEnabled(read.ok());
}
