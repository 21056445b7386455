// Asks which character set a list was written in when its bytes leave a choice: the first rows of
// the file as each choice reads them, as spreadsheets' text import shows them. The sets that read
// the list come first, likeliest first, and the likeliest is chosen.
#pragma once

#include <QByteArray>
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class ListCharsetDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PreviewRows = 12;
    // Of a list that cannot be read in the set chosen, this much is shown as far as it reads.
    static constexpr qsizetype PreviewBytes = 64 * 1024;

    // bytes: the whole file; readings: converter names, likeliest first (ListText::readings).
    ListCharsetDialog(const QByteArray &bytes, const QString &fileName, const QList<QByteArray> &readings,
                      QWidget *parent = nullptr);

    // The converter name chosen.
    QByteArray charset() const;

    QComboBox *charset_combo = nullptr;
    QPlainTextEdit *preview = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    void showRows();

    QByteArray m_bytes;
    QString m_fileName;
    QLabel *m_problem = nullptr;
};
