#include "app/CoreRuntime.h"

#include <QElapsedTimer>
#include <QTest>

using namespace kpl;

class TestCoreRuntime : public QObject {
    Q_OBJECT
private slots:
    void pendingEventsRunAtMostEveryFifteenMilliseconds();
};

// The update run asks to let events run for every value it touches; they
// run on the first request and then whenever the pace allows, never
// between, and never later than a request after the interval.
void TestCoreRuntime::pendingEventsRunAtMostEveryFifteenMilliseconds() {
    CoreRuntime runtime("/Proj/KPL_Presets/KPL_Presets_Config", QString(), {});
    int ran = 0;
    const auto post = [&] {
        QMetaObject::invokeMethod(
            this, [&] { ++ran; }, Qt::QueuedConnection);
    };

    // Started before the first request: less time has passed since that one.
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    post();
    runtime.doEvents();
    QCOMPARE(ran, 1);

    post();
    for (int request = 0; request < 100 && !sinceFirst.hasExpired(10); ++request)
        runtime.doEvents();
    QCOMPARE(ran, 1);

    QTest::qSleep(20);
    runtime.doEvents();
    QCOMPARE(ran, 2);
}

QTEST_GUILESS_MAIN(TestCoreRuntime)
#include "tst_core_runtime.moc"
