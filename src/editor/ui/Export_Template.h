// The template name dialog: the name of a new template, or a new name for one being renamed;
// OK checks the name against the user's templates before it closes.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class Export_Template : public QDialog
{
    Q_OBJECT
public:
    // folder: the user templates' folder the names are checked against.
    explicit Export_Template(const QString &folder, QWidget *parent = nullptr);

    // The cleaned name the dialog confirmed last (process-wide, as the renaming reads it).
    static QString export_template_name;

    // Runs the dialog; passed is the current name of a template being renamed, "" for a new one.
    // 1 with export_template_name set, 0 when cancelled.
    int runFor(const QString &passed);

    void OKPressed();
    void CancelPressed();

    QLineEdit *template_name = nullptr;
    QLineEdit *template_passed = nullptr; // not shown: the name being changed
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    QString m_folder;
};
