// The series this instance's design reads, each held by the lock file beside its series file, so
// that another instance of the program finds them in use; followed anew as the design changes.
#pragma once

#include "model/SKTGraphic.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class SeriesEditing;

class HeldSeries
{
public:
    HeldSeries();
    ~HeldSeries();
    HeldSeries(const HeldSeries &) = delete;
    HeldSeries &operator=(const HeldSeries &) = delete;

    // Holds the series the sides bind (the back only when cardSideStr is "2", double-sided) whose
    // file is there, and lets go of the others. One held by another instance is tried again next time.
    void follow(const GraphicList &front, const GraphicList &back, const QString &cardSideStr,
                const QString &dataFolder);
    QStringList held() const; // by name
    // The series the sides bind, by name, each once (the back only when cardSideStr is "2").
    static QStringList bound(const GraphicList &front, const GraphicList &back, const QString &cardSideStr);

private:
    QString m_folder;
    std::map<QString, std::unique_ptr<SeriesEditing>> m_held;
};
