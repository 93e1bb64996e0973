// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/ByteSink.h"
#include "FailDevice.h"
#include "core/io/SaveFile.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace wendaro;
using wendaro::test::FailDevice;

Q_DECLARE_METATYPE(FailDevice::Failure)

namespace {

// A table of two entries as it is saved: big enough to cross every field.
QByteArray smallTable()
{
    return QByteArray::fromHex("cdab000001030000000200000001000000ffffffff020000006100620002000000"
                               "ffffffff0000000001000000010000006e02000000000000");
}

// The permission bits of the file itself, without those that Qt derives for
// the user running the test.
constexpr QFileDevice::Permissions OwnerGroupOther = QFileDevice::Permissions::fromInt(0x7077);

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// Lets the process write at most `bytes` bytes into any one file, as a disk
// that fills up at that point would; writes beyond fail with EFBIG.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeAllNoticesEveryFailure_data();
    void writeAllNoticesEveryFailure();
    void failedWriteOnDiskKeepsOldFile();
    void refusedTarget_data();
    void refusedTarget();
    void readOnlyFileIsKept();
    void keepsOwnerAndMode_data();
    void keepsOwnerAndMode();
    void followsSymbolicLink();
    void createsNewAndEmptyFiles();
    void streamedSave_data();
    void streamedSave();
};

void TestSaveFile::writeAllNoticesEveryFailure_data()
{
    QTest::addColumn<FailDevice::Failure>("failure");
    QTest::addColumn<qint64>("capacity");
    const QByteArray data = smallTable();
    for (const auto failure : {FailDevice::Failure::Error, FailDevice::Failure::Stall}) {
        const char *kind = failure == FailDevice::Failure::Error ? "error" : "stall";
        for (qint64 n = 0; n <= data.size(); ++n)
            QTest::addRow("%s after %lld", kind, n) << failure << n;
    }
}

void TestSaveFile::writeAllNoticesEveryFailure()
{
    QFETCH(FailDevice::Failure, failure);
    QFETCH(qint64, capacity);
    const QByteArray data = smallTable();
    FailDevice device(capacity, failure);
    QString error;
    const bool ok = SaveFile::writeAll(device, data, &error);

    QCOMPARE(ok, capacity >= data.size());
    QCOMPARE(device.written(), data.left(capacity));
    if (!ok)
        QVERIFY2(error.contains(QString::number(capacity)), qPrintable(error));
}

void TestSaveFile::failedWriteOnDiskKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("table.stf"));
    const QByteArray old = "the old file, longer than nothing";
    putFile(target, old);
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QStringList before = listing(dir.path());
    const QByteArray data = smallTable();

    for (qsizetype n = 0; n < data.size(); ++n) {
        bool ok;
        QString error;
        {
            const FileSizeLimit limit{rlim_t(n)};
            ok = SaveFile::write(target, data, &error);
        }
        QVERIFY2(!ok, qPrintable(QStringLiteral("limit %1").arg(n)));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(target), old);
        QCOMPARE(QFileInfo(target).permissions() & OwnerGroupOther,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(listing(dir.path()), before);
    }

    QString error;
    QVERIFY2(SaveFile::write(target, data, &error), qPrintable(error));
    QCOMPARE(contents(target), data);
}

void TestSaveFile::refusedTarget_data()
{
    // clang-format off
    QTest::addColumn<QString>("existingFolder"); // made before the save
    QTest::addColumn<QString>("existingFile");   // made before the save
    QTest::addColumn<uint>("special");           // the type of a node made as "node", with "link" to it
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("blamed"); // the part of the path that the error names

    QTest::newRow("folder does not exist") << QString() << QString() << 0u << "missing/deeper/t.stf" << "missing";
    QTest::newRow("target is a folder") << "t.stf" << QString() << 0u << "t.stf" << "t.stf";
    QTest::newRow("folder path through a file") << QString() << "plain.txt" << 0u << "plain.txt/t.stf"
                                                << "plain.txt";
    QTest::newRow("deeper through a file") << QString() << "plain.txt" << 0u << "plain.txt/sub/t.stf"
                                           << "plain.txt";
    QTest::newRow("fifo") << QString() << QString() << uint(S_IFIFO) << "node" << "node";
    QTest::newRow("socket") << QString() << QString() << uint(S_IFSOCK) << "node" << "node";
    QTest::newRow("device") << QString() << QString() << uint(S_IFCHR) << "node" << "node";
    QTest::newRow("link to a fifo") << QString() << QString() << uint(S_IFIFO) << "link" << "link";
    // clang-format on
}

void TestSaveFile::refusedTarget()
{
    QFETCH(QString, existingFolder);
    QFETCH(QString, existingFile);
    QFETCH(uint, special);
    QFETCH(QString, target);
    QFETCH(QString, blamed);
    if (special == S_IFCHR && !runningAsRoot())
        QSKIP("only root makes devices");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!existingFolder.isEmpty())
        QVERIFY(QDir(dir.path()).mkpath(existingFolder));
    if (!existingFile.isEmpty())
        putFile(dir.filePath(existingFile), "kept");
    const QString node = dir.filePath(QStringLiteral("node"));
    if (special) {
        QCOMPARE(::mknod(QFile::encodeName(node).constData(), special | 0666, makedev(1, 3)), 0);
        QVERIFY(QFile::link(node, dir.filePath(QStringLiteral("link"))));
    }
    const QStringList before = listing(dir.path());

    QString error;
    QVERIFY(!SaveFile::write(dir.filePath(target), smallTable(), &error));
    QVERIFY2(error.contains(dir.filePath(blamed)), qPrintable(error));
    QCOMPARE(listing(dir.path()), before);
    if (!existingFile.isEmpty())
        QCOMPARE(contents(dir.filePath(existingFile)), QByteArray("kept"));
    if (special)
        QVERIFY(QFileInfo(node).exists() && !QFileInfo(node).isFile());
}

void TestSaveFile::readOnlyFileIsKept()
{
    if (runningAsRoot())
        QSKIP("permissions do not bind root");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("t.txt"));
    putFile(target, "old");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));

    QString error;
    QVERIFY(!SaveFile::write(target, smallTable(), &error));
    QVERIFY2(error.contains(target), qPrintable(error));
    QCOMPARE(contents(target), QByteArray("old"));
    QCOMPARE(listing(dir.path()), QStringList{QStringLiteral("/t.txt")});
}

void TestSaveFile::keepsOwnerAndMode_data()
{
    QTest::addColumn<uint>("mode");
    QTest::addColumn<int>("uid"); // -1: the user running the test
    QTest::addColumn<int>("gid");
    QTest::addColumn<int>("saver"); // a user who saves but may not give files away; -1: the test's

    QTest::newRow("0704") << 0704u << -1 << -1 << -1;
    QTest::newRow("read-only") << 0444u << -1 << -1 << -1;
    QTest::newRow("another owner, read-only") << 0444u << 12345 << 12345 << -1;
    QTest::newRow("another group, set-group-ID") << 02775u << -1 << 12345 << -1;
    QTest::newRow("owner not kept: refused") << 0666u << 12346 << 12346 << 12345;
}

void TestSaveFile::keepsOwnerAndMode()
{
    QFETCH(uint, mode);
    QFETCH(int, uid);
    QFETCH(int, gid);
    QFETCH(int, saver);
    if ((uid >= 0 || gid >= 0 || !(mode & 0200)) && !runningAsRoot())
        QSKIP("only root gives files away and writes read-only ones");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("t.stf"));
    const QByteArray native = QFile::encodeName(target);
    putFile(target, "old");
    QCOMPARE(::chown(native.constData(), uid_t(uid), gid_t(gid)), 0);
    QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    struct stat before = {};
    QCOMPARE(::stat(native.constData(), &before), 0);

    QString error;
    if (saver >= 0)
        QVERIFY(::setegid(gid_t(saver)) == 0 && ::seteuid(uid_t(saver)) == 0);
    const bool saved = SaveFile::write(target, smallTable(), &error);
    if (saver >= 0) // only the effective ids changed, so root comes back
        QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
    QVERIFY2(saved == (saver < 0), qPrintable(error));
    QCOMPARE(contents(target), saved ? smallTable() : QByteArray("old"));
    struct stat after = {};
    QCOMPARE(::stat(native.constData(), &after), 0);
    QVERIFY(after.st_uid == before.st_uid && after.st_gid == before.st_gid && after.st_mode == before.st_mode);
    QCOMPARE(listing(dir.path()), QStringList{QStringLiteral("/t.stf")});
}

void TestSaveFile::followsSymbolicLink()
{
    // The link and the file it names live in different folders: the file is
    // replaced where it is, the link stays a link to it.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("links")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data")));
    const QString real = dir.filePath(QStringLiteral("data/t.stf"));
    const QString link = dir.filePath(QStringLiteral("links/t.stf"));
    putFile(real, "old");
    QVERIFY(QFile::link(QStringLiteral("../data/t.stf"), link));

    QString error;
    QVERIFY2(SaveFile::write(link, smallTable(), &error), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(real).absoluteFilePath());
    QCOMPARE(contents(real), smallTable());
    QCOMPARE(listing(dir.path()), (QStringList{QStringLiteral("/data"), QStringLiteral("/data/t.stf"),
                                               QStringLiteral("/links"), QStringLiteral("/links/t.stf")}));

    // A failed save through the link leaves both alone.
    const QString blocked = dir.filePath(QStringLiteral("links/blocked.stf"));
    QVERIFY(QFile::link(QStringLiteral("../data/t.stf/below"), blocked));
    QVERIFY(!SaveFile::write(blocked, "x", &error));
    QVERIFY(QFileInfo(blocked).isSymLink());
    QCOMPARE(contents(real), smallTable());
}

void TestSaveFile::createsNewAndEmptyFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("new.txt"));
    QString error;
    QVERIFY2(SaveFile::write(target, smallTable(), &error), qPrintable(error));
    QCOMPARE(contents(target), smallTable());
    QVERIFY2(SaveFile::write(target, {}, &error), qPrintable(error));
    QVERIFY(QFileInfo(target).exists());
    QCOMPARE(QFileInfo(target).size(), 0);
    QCOMPARE(listing(dir.path()), QStringList{QStringLiteral("/new.txt")});
}

void TestSaveFile::streamedSave_data()
{
    QTest::addColumn<int>("refusedAt"); // the piece refused, -1 for none
    QTest::addColumn<int>("sizeLimit"); // bytes the disk takes, 0 for no limit
    QTest::newRow("every piece") << -1 << 0;
    QTest::newRow("refused before any byte") << 0 << 0;
    QTest::newRow("refused after a piece") << 1 << 0;
    QTest::newRow("disk full in the second piece") << -1 << 25000;
}

void TestSaveFile::streamedSave()
{
    QFETCH(int, refusedAt);
    QFETCH(int, sizeLimit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("table.stf"));
    putFile(target, "old");
    const QStringList before = listing(dir.path());
    const QList<QByteArray> pieces = {QByteArray(20000, 'a'), QByteArray(20000, 'b'), "c"};
    const auto produce = [&](ByteSink &sink, QString *refusal) {
        for (int i = 0; i < pieces.size(); ++i) {
            if (i == refusedAt) {
                *refusal = QStringLiteral("refused");
                return false;
            }
            if (!sink.append(pieces[i]))
                return false;
        }
        return true;
    };
    QString error;
    bool saved;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit = std::make_unique<FileSizeLimit>(rlim_t(sizeLimit));
        saved = SaveFile::stream(target, produce, &error);
    }
    QCOMPARE(saved, refusedAt < 0 && sizeLimit == 0);
    QCOMPARE(contents(target), saved ? pieces.join() : QByteArray("old"));
    QCOMPARE(listing(dir.path()), before);
    if (refusedAt >= 0)
        QCOMPARE(error, QStringLiteral("refused"));
    QCOMPARE(error.isEmpty(), saved);
}

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_savefile.moc"
