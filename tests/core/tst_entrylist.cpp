#include <QTest>
class TestEntryList : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(TestEntryList)
#include "tst_entrylist.moc"
