#include "foundation/ui/PanelWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

void PanelWidgets::tabOrder(const QList<QWidget *> &controls)
{
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls.at(i - 1), controls.at(i));
}

QLabel *PanelWidgets::title(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void PanelWidgets::setOutletText(QWidget *control, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(control))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(control))
        rich->setPlainText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
}

void PanelWidgets::showReadOnly(QWidget *box, bool readOnly)
{
    if (!box)
        return;
    box->setProperty("readOnly", readOnly);
    if (readOnly) {
        // A shade darker than the window: the window's own light colour beside white fields
        // reads as one more field to type into.
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window).darker(110));
        box->setPalette(palette);
    } else {
        box->setPalette(QPalette()); // the window's own again
    }
    box->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}
