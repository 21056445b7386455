// Change observation of plain objects: old and new values, dependent keys, nesting, copies.
#include "platform/Observable.h"

#include <gtest/gtest.h>

namespace
{
class Box : public Observable
{
public:
    int width = 1;
    int height = 2;
    QList<int> items;

    QVariant valueForKey(const QString &key) const override
    {
        if (key == QLatin1String("width"))
            return width;
        if (key == QLatin1String("height"))
            return height;
        if (key == QLatin1String("area"))
            return width * height;
        if (key == QLatin1String("items"))
            return QVariant::fromValue(items);
        return {};
    }
    bool setValueForKey(const QString &key, const QVariant &v) override
    {
        if (key == QLatin1String("width"))
            return setAndNotify(key, width, v.toInt()), true;
        if (key == QLatin1String("height"))
            return setAndNotify(key, height, v.toInt()), true;
        return false;
    }
    QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const override
    {
        if (key == QLatin1String("area"))
            return {QStringLiteral("width"), QStringLiteral("height")};
        return {};
    }
    void insertItem(int at, int v)
    {
        willChange(ObservedChange::Kind::Insertion, {at}, QStringLiteral("items"));
        items.insert(at, v);
        didChange(ObservedChange::Kind::Insertion, {at}, QStringLiteral("items"));
    }
};

struct Recorder : ChangeObserver {
    struct Call {
        QString key;
        ObservedChange change;
        void *context;
    };
    QList<Call> calls;
    std::function<void()> onCall;
    void observeValueForKeyPath(const QString &keyPath, Observable *, const ObservedChange &change,
                                void *context) override
    {
        calls.append({keyPath, change, context});
        if (onCall)
            onCall();
    }
};
} // namespace

TEST(Observable, TellsOldAndNewValuesWithContext)
{
    Box b;
    Recorder r;
    int ctx = 0;
    b.addObserver(&r, QStringLiteral("width"), ObservingOption::New | ObservingOption::Old, &ctx);
    EXPECT_TRUE(b.setValueForKey(QStringLiteral("width"), 5));
    ASSERT_EQ(r.calls.size(), 1);
    EXPECT_EQ(r.calls[0].change.oldValue.toInt(), 1);
    EXPECT_EQ(r.calls[0].change.newValue.toInt(), 5);
    EXPECT_EQ(r.calls[0].context, &ctx);
    b.setValueForKey(QStringLiteral("height"), 7); // not observed
    EXPECT_EQ(r.calls.size(), 1);
    b.setValueForKey(QStringLiteral("width"), 5); // same value: no change announced
    EXPECT_EQ(r.calls.size(), 1);
    b.removeObserver(&r, QStringLiteral("width"));
    b.setValueForKey(QStringLiteral("width"), 6);
    EXPECT_EQ(r.calls.size(), 1);
    EXPECT_FALSE(b.hasObservers());
}

TEST(Observable, DependentKeyAndOptions)
{
    Box b;
    Recorder r;
    b.addObserver(&r, QStringLiteral("area"),
                  ObservingOption::New | ObservingOption::Old | ObservingOption::Initial |
                      ObservingOption::Prior);
    ASSERT_EQ(r.calls.size(), 1); // initial
    EXPECT_EQ(r.calls[0].change.newValue.toInt(), 2);
    b.setValueForKey(QStringLiteral("height"), 10);
    ASSERT_EQ(r.calls.size(), 3); // prior + after
    EXPECT_TRUE(r.calls[1].change.isPrior);
    EXPECT_EQ(r.calls[1].change.oldValue.toInt(), 2);
    EXPECT_FALSE(r.calls[1].change.newValue.isValid());
    EXPECT_FALSE(r.calls[2].change.isPrior);
    EXPECT_EQ(r.calls[2].change.oldValue.toInt(), 2);
    EXPECT_EQ(r.calls[2].change.newValue.toInt(), 10);
}

TEST(Observable, ListChangesCarryKindAndIndexes)
{
    Box b;
    Recorder r;
    b.addObserver(&r, QStringLiteral("items"));
    b.insertItem(0, 42);
    ASSERT_EQ(r.calls.size(), 1);
    EXPECT_EQ(r.calls[0].change.kind, ObservedChange::Kind::Insertion);
    EXPECT_EQ(r.calls[0].change.indexes, QList<int>{0});
    EXPECT_TRUE(r.calls[0].change.oldValue.value<QList<int>>().isEmpty());
    EXPECT_EQ(r.calls[0].change.newValue.value<QList<int>>(), QList<int>{42});
}

TEST(Observable, CopiesStartUnobservedAndObserversMayLeaveWhileTold)
{
    Box b;
    Recorder r1, r2;
    b.addObserver(&r1, QStringLiteral("width"));
    b.addObserver(&r2, QStringLiteral("width"));
    Box copy = b;
    EXPECT_FALSE(copy.hasObservers());
    copy.setValueForKey(QStringLiteral("width"), 9);
    EXPECT_TRUE(r1.calls.isEmpty());

    // The first observer removes the second while being told: the second hears nothing.
    r1.onCall = [&] { b.removeAllObservers(&r2); };
    b.setValueForKey(QStringLiteral("width"), 3);
    EXPECT_EQ(r1.calls.size(), 1);
    EXPECT_TRUE(r2.calls.isEmpty());
    EXPECT_EQ(b.observationCount(QStringLiteral("width")), 1);
}

TEST(Observable, NestedAnnouncementsAreToldInnermostFirst)
{
    Box b;
    Recorder r;
    b.addObserver(&r, QStringLiteral("width"));
    b.addObserver(&r, QStringLiteral("height"));
    b.willChangeValueForKey(QStringLiteral("width"));
    b.willChangeValueForKey(QStringLiteral("height"));
    b.width = 20;
    b.height = 30;
    b.didChangeValueForKey(QStringLiteral("height"));
    b.didChangeValueForKey(QStringLiteral("width"));
    ASSERT_EQ(r.calls.size(), 2);
    EXPECT_EQ(r.calls[0].key, QStringLiteral("height"));
    EXPECT_EQ(r.calls[0].change.oldValue.toInt(), 2);
    EXPECT_EQ(r.calls[1].change.oldValue.toInt(), 1);
    // A did... without its will... is ignored.
    b.didChangeValueForKey(QStringLiteral("width"));
    EXPECT_EQ(r.calls.size(), 2);
}
