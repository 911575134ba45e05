// The window checks the listed parts before a join and the written image after it.

#include "support/ModalBoxWatcher.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"

#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <random>

using namespace partwright;
using namespace std::string_literals;
using partwright::test::ModalBoxWatcher;
using partwright::test::TempDir;
using partwright::test::WindowDriver;

namespace {

constexpr std::size_t kKiB = 1024;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

class tst_PartChecks : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void questionBeforeABrokenSet_data();
    void questionBeforeABrokenSet();
    void yesBuildsAnyway();
    void isoImageReport_data();
    void isoImageReport();

private:
    std::string part(const std::string& name, std::size_t size);
    void build(const std::vector<std::string>& parts);

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<WindowDriver> driver_;
    std::unique_ptr<ModalBoxWatcher> boxes_;
};

void tst_PartChecks::init()
{
    dir_ = std::make_unique<TempDir>();
    driver_ = std::make_unique<WindowDriver>();
    boxes_ = std::make_unique<ModalBoxWatcher>();
}

void tst_PartChecks::cleanup()
{
    boxes_.reset();
    driver_.reset();
    dir_.reset();
}

std::string tst_PartChecks::part(const std::string& name, std::size_t size)
{
    test::WriteFile(dir_->file(name), std::string(size, name.back()));
    return dir_->file(name);
}

void tst_PartChecks::build(const std::vector<std::string>& parts)
{
    driver_->setEntries(parts);
    driver_->destination()->setText(Q(dir_->file("OUT.ISO")));
    driver_->click("cmdBuild");
}

void tst_PartChecks::questionBeforeABrokenSet_data()
{
    QTest::addColumn<QStringList>("names"); // name:size in KiB
    QTest::addColumn<QString>("finding");   // empty: no question

    QTest::newRow("complete set") << QStringList{"D.001:4", "D.002:4", "D.003:1"} << "";
    QTest::newRow("gap") << QStringList{"D.001:4", "D.002:4", "D.004:4"}
                         << "Part 3 is missing between D.002 and D.004.";
    QTest::newRow("first number") << QStringList{"D.002:4", "D.003:1"}
                                  << "The parts start at D.002: part 1 is missing.";
    QTest::newRow("duplicate number") << QStringList{"D.001:4", "E.001:4", "D.002:1"}
                                      << "Part 1 is listed twice: D.001 and E.001.";
    QTest::newRow("size") << QStringList{"D.001:4", "D.002:3", "D.003:4", "D.004:1"}
                          << "D.002 is 1,024 bytes shorter than the parts before it.";
    QTest::newRow("empty part") << QStringList{"D.001:4", "D.002:0", "D.003:1"}
                                << "D.002 is empty.";
}

void tst_PartChecks::questionBeforeABrokenSet()
{
    QFETCH(QStringList, names);
    QFETCH(QString, finding);
    std::vector<std::string> parts;
    for (const QString& name : names) {
        const QStringList nameAndSize = name.split(QLatin1Char(':'));
        parts.push_back(part(nameAndSize[0].toStdString(), nameAndSize[1].toULong() * kKiB));
    }

    build(parts); // the watcher answers with the default, "No"
    QTRY_VERIFY(!boxes_->seen().isEmpty());
    QTRY_VERIFY(!driver_->window().isBuilding());
    if (finding.isEmpty()) {
        QCOMPARE(boxes_->seen()[0].text, QStringLiteral("ISO built succesfully."));
        return;
    }
    const auto& question = boxes_->seen()[0];
    QCOMPARE(question.title, QStringLiteral("Question..."));
    QCOMPARE(question.text,
             "The parts do not look like one complete set:\n\n" + finding + "\n\nBuild anyway?");
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(boxes_->seen().size(), 1);
    QVERIFY(!std::filesystem::exists(dir_->file("OUT.ISO")));
}

void tst_PartChecks::yesBuildsAnyway()
{
    boxes_->answerNext(QMessageBox::Yes);
    build({part("D.001", 4 * kKiB), part("D.003", kKiB)});
    QTRY_COMPARE(boxes_->seen().size(), 2);
    QCOMPARE(boxes_->seen()[1].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(std::filesystem::file_size(dir_->file("OUT.ISO")), 5 * kKiB);
}

void tst_PartChecks::isoImageReport_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("report"); // after "ISO built succesfully.\n\n"; %1: blocks

    QTest::newRow("in order") << "in order"
                              << "Volume PARTWRIGHT: %1 blocks of 2,048 bytes, matching the image "
                                 "size.";
    QTest::newRow("first two swapped")
        << "swap"
        << "Warning: the image does not start with its volume descriptor; DISC.002 "
           "(entry 2) does, so the first entry is probably not the first part.";
    QTest::newRow("last truncated")
        << "truncate"
        << "Warning: the image is 4,096 bytes shorter than volume PARTWRIGHT "
           "declares (%1 blocks of 2,048 bytes), so a part is probably missing, "
           "truncated or in the wrong place.";
    QTest::newRow("not ISO 9660") << "plain"
                                  << "";
}

void tst_PartChecks::isoImageReport()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, report);
    if (std::system("command -v xorriso >/dev/null") != 0)
        QSKIP("xorriso is not installed");

    std::string image;
    if (arrangement == QLatin1String("plain")) {
        image = std::string(std::size_t{3} * 512 * kKiB, 'p');
    } else {
        std::filesystem::create_directory(dir_->file("content"));
        std::mt19937 random(11);
        std::string data(1500 * kKiB, '\0');
        for (auto& c : data)
            c = static_cast<char>(random());
        test::WriteFile(dir_->file("content/data.bin"), data);
        const std::string command = "xorriso -as mkisofs -quiet -V PARTWRIGHT -o '" +
                                    dir_->file("made.iso") + "' '" + dir_->file("content") +
                                    "' >/dev/null 2>&1";
        QCOMPARE(std::system(command.c_str()), 0);
        image = test::ReadFile(dir_->file("made.iso"));
        std::filesystem::remove(dir_->file("made.iso"));
    }
    const QString blocks = QLocale(QLocale::English).toString(qulonglong(image.size() / 2048));

    // Split as a splitter would: parts of 512 KiB, the last one shorter.
    std::vector<std::string> contents;
    for (std::size_t offset = 0; offset < image.size(); offset += 512 * kKiB)
        contents.push_back(image.substr(offset, 512 * kKiB));
    if (arrangement == QLatin1String("swap"))
        std::swap(contents[0], contents[1]);
    if (arrangement == QLatin1String("truncate"))
        contents.back().resize(contents.back().size() - 4096);
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        parts.push_back(dir_->file("DISC.00" + std::to_string(i + 1)));
        test::WriteFile(parts.back(), contents[i]);
    }

    build(parts);
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].title, QStringLiteral("Info..."));
    QCOMPARE(boxes_->seen()[0].icon, QMessageBox::Warning);
    const QString expected = report.isEmpty()
                                 ? QStringLiteral("ISO built succesfully.")
                                 : "ISO built succesfully.\n\n" + QString(report).arg(blocks);
    QCOMPARE(boxes_->seen()[0].text, expected);
}

QTEST_MAIN(tst_PartChecks)
#include "tst_PartChecks.moc"
