#include "foundation/ui/DeferredIconStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <optional>

namespace
{
// Stands for a standard icon until it is first needed, then answers from the base style's icon.
// Every call is passed on in device pixels with a ratio of 1, as the icon wrapping this engine has
// already scaled it: so the base icon's engine sees the same requests it would have seen itself.
class DeferredStandardIcon final : public QIconEngine
{
public:
    DeferredStandardIcon(const QStyle *style, QStyle::StandardPixmap which, const QStyleOption *option,
                         const QWidget *widget)
        : m_style(const_cast<QStyle *>(style)), m_which(which), m_widget(const_cast<QWidget *>(widget))
    {
        if (option) {
            // Only the base part is kept: marked as such, so that no style casts it to the kind of
            // option it was cut from; the object it was drawn for may be gone.
            m_option = *option;
            m_option->type = QStyleOption::SO_Default;
            m_option->version = QStyleOption::Version;
            m_option->styleObject = nullptr;
        }
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        // The rect is already the icon's own size, aligned by the caller.
        resolved().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QIcon &icon = resolved();
        if (qApp->devicePixelRatio() <= 1.0)
            return icon.actualSize(size, mode, state);
        // There actualSize(size) would scale by the pixel ratio a second time.
        return icon.pixmap(size, 1.0, mode, state).size();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return resolved().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const QIcon &icon = resolved();
        if (scale <= 1.0)
            return icon.pixmap(size, 1.0, mode, state);
        // size is in device pixels; the base icon wants it in its own units and the ratio.
        return icon.pixmap(QSize(qRound(size.width() / scale), qRound(size.height() / scale)), scale, mode,
                           state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return resolved().availableSizes(mode, state);
    }

    void addPixmap(const QPixmap &pixmap, QIcon::Mode mode, QIcon::State state) override
    {
        resolved().addPixmap(pixmap, mode, state);
    }

    void addFile(const QString &fileName, const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        resolved().addFile(fileName, size, mode, state);
    }

    QString iconName() override { return resolved().name(); }

    bool isNull() override { return resolved().isNull(); }

    QString key() const override { return QStringLiteral("DeferredStandardIcon"); }

    QIconEngine *clone() const override { return new DeferredStandardIcon(*this); }

    void virtual_hook(int id, void *data) override
    {
        if (id == QIconEngine::ScaledPixmapHook) {
            auto *arg = static_cast<QIconEngine::ScaledPixmapArgument *>(data);
            arg->pixmap = scaledPixmap(arg->size, arg->mode, arg->state, arg->scale);
            return;
        }
        if (id == QIconEngine::IsNullHook) {
            *static_cast<bool *>(data) = isNull();
            return;
        }
        QIconEngine::virtual_hook(id, data);
    }

private:
    DeferredStandardIcon(const DeferredStandardIcon &other) = default;

    QIcon &resolved()
    {
        if (!m_icon) {
            // The widget asked for it may be gone by now: the icon is then made without it.
            m_icon = m_style
                         ? m_style->standardIcon(m_which, m_option ? &*m_option : nullptr, m_widget.data())
                         : QIcon();
        }
        return *m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    std::optional<QStyleOption> m_option;
    QPointer<QWidget> m_widget;
    std::optional<QIcon> m_icon;
};
} // namespace

DeferredIconStyle::DeferredIconStyle() = default;

void DeferredIconStyle::installOn(QApplication &app)
{
    app.setStyle(new DeferredIconStyle);
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                      const QWidget *widget) const
{
    return QIcon(new DeferredStandardIcon(baseStyle(), which, option, widget));
}
