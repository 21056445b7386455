#include "output/ui/Open_Export_Log.h"

#include "foundation/FileUtils.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "output/OutputState.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

Open_Export_Log::Open_Export_Log(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Open_Export_Files"));
    setWindowTitle(QStringLiteral("Exported Files"));
    WindowLook::applyBackground(this);
    _open_log_message = new QLabel(this);
    _open_log_message->setObjectName(QStringLiteral("_open_log_message"));
    // The message names the path: wrapped (after each "/"), so a deep folder does not push the
    // window, and its buttons, past the screen's edge.
    _open_log_message->setWordWrap(true);
    _open_log_path = new QLabel(this);
    _open_log_path->setObjectName(QStringLiteral("_open_log_path"));
    _open_log_path->setWordWrap(true);
    _open_log_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _open_log_chk = new QCheckBox(OpenFileTitle, this);
    _open_log_chk->setObjectName(QStringLiteral("_open_log_chk"));
    _open_log_chk->setChecked(true);
    QHBoxLayout *buttons = WindowLook::okCancelRow(this, ok_button, cancel_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(_open_log_message);
    layout->addWidget(_open_log_path);
    layout->addWidget(_open_log_chk);
    layout->addLayout(buttons);
    resize(460, 160);
    connect(ok_button, &QPushButton::clicked, this, &Open_Export_Log::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Open_Export_Log::CancelPressed);
}

int Open_Export_Log::Open_Export_File_Box()
{
    const OutputState &state = OutputState::instance();
    const QString path = state.Export_File_Path();
    _open_log_chk->setText(QFileInfo(path).isDir() ? OpenFolderTitle : OpenFileTitle);
    _open_log_path->setText(path);
    _open_log_message->setText(state.Export_File_Message());
    // Wrapped lines need their height, which a window is not given by itself: sized for its texts.
    const int width = std::max(460, sizeHint().width());
    resize(width, std::max(160, layout()->totalHeightForWidth(width)));
    return ModalRunner::exec(*this);
}

void Open_Export_Log::fillRegistry(WindowRegistry &registry, QWidget *owner)
{
    QPointer<QWidget> guarded(owner);
    registry.fillExportedFiles([guarded](const QString &path, const QString &message) {
        OutputState::instance().setExportFile(path, message);
        QWidget *front = QApplication::activeModalWidget();
        Open_Export_Log box(front ? front : guarded.data());
        return box.Open_Export_File_Box();
    });
}

QString Open_Export_Log::notOpenedText(const QString &path)
{
    return ::notOpenedText(
        QFileInfo(path).isDir() ? QStringLiteral("The folder") : QStringLiteral("The exported file"), path);
}

void Open_Export_Log::OKPressed()
{
    const bool wanted = _open_log_chk->isChecked();
    _open_log_chk->setChecked(true);
    done(1);
    // Without a program for the file (or a file browser) nothing would happen: say where it is.
    const QString path = OutputState::instance().Export_File_Path();
    if (wanted && !path.isEmpty())
        openOrSay(path, notOpenedText(path));
}

void Open_Export_Log::CancelPressed()
{
    _open_log_chk->setChecked(true);
    done(0);
}
