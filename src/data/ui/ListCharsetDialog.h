// Asks which character set a list was written in when the detector is not sure: the first rows of
// the file as each choice reads them, as spreadsheets' text import shows them.
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

    // bytes: the whole file; guess: the converter name the detector found likeliest.
    ListCharsetDialog(const QByteArray &bytes, const QString &fileName, const QByteArray &guess,
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
