// The real file dialog behind the window's open and save operations.

#include "list/FileNames.h"
#include "support/TempDir.h"
#include "ui/QtFileChooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

using namespace partwright;
using namespace std::string_literals;
using partwright::test::TempDir;

namespace {

const FileDialogRequest kOpenRequest{
    FileDialogRequest::Kind::Open, "Open", "All files (*.*)", "*.*", true, true, false};

// Runs the chooser and acts on its dialog once it is up.
std::string ChooseWhileShown(const FileDialogRequest& request,
                             const std::function<void(QFileDialog&)>& act)
{
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || acted)
            return;
        acted = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject(); // never leave a test hanging on the dialog
    });
    poll.start(20);
    QtFileChooser chooser;
    return chooser.choose(nullptr, request);
}

// Puts the names into the name box, as pasting them would, and confirms with Enter. Typed key
// by key, they race the folder's listing: when it arrives, the dialog rewrites the name box.
void EnterNames(QFileDialog& dialog, const QString& text)
{
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->setText(text);
    QTest::keyClick(name, Qt::Key_Return);
}

QStringList ListedNames(QFileDialog& dialog, const QString& folder)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    const QModelIndex root = model->index(folder);
    // The model reads the folder in the background.
    for (int wait = 0; wait < 500 && model->rowCount(root) == 0; ++wait)
        QTest::qWait(10);
    QStringList names;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex index = model->index(row, 0, root);
        if (model->flags(index).testFlag(Qt::ItemIsEnabled))
            names << model->fileName(index);
    }
    names.sort();
    return names;
}

} // namespace

class tst_FileChooser : public QObject {
    Q_OBJECT

private slots:
    void init() { startFolder_ = std::filesystem::current_path(); }
    void cleanup() { std::filesystem::current_path(startFolder_); }

    void openDialogIsSetUpAsRequested();
    void everyFileIsListedAlsoWithoutADot();
    void cancelGivesAnEmptyResult();
    void oneChosenFileGivesItsFullPath();
    void severalChosenFilesGiveTheirFolderAndNames();
    void filesFromTwoFoldersKeepTheirOwn();
    void dialogResultFromSelection_data();
    void dialogResultFromSelection();

private:
    std::filesystem::path startFolder_;
};

void tst_FileChooser::openDialogIsSetUpAsRequested()
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    QString title;
    QStringList filters;
    QFileDialog::FileMode mode{};
    QFileDialog::AcceptMode acceptMode{};
    bool native = true;
    QString folder;
    ChooseWhileShown(kOpenRequest, [&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        mode = dialog.fileMode();
        acceptMode = dialog.acceptMode();
        native = !dialog.testOption(QFileDialog::DontUseNativeDialog);
        folder = dialog.directory().absolutePath();
    });
    QCOMPARE(title, QStringLiteral("Open"));
    QCOMPARE(filters, QStringList{"All files (*.*)"});
    QCOMPARE(mode, QFileDialog::ExistingFiles);
    QCOMPARE(acceptMode, QFileDialog::AcceptOpen);
    QVERIFY(!native);
    QCOMPARE(folder, QString::fromStdString(std::filesystem::canonical(dir.path()).string()));
}

void tst_FileChooser::everyFileIsListedAlsoWithoutADot()
{
    TempDir dir;
    for (const char* name : {"DISC.001", "DISC.002", "NODOT"})
        test::WriteFile(dir.file(name), "x");
    std::filesystem::current_path(dir.path());
    QStringList names;
    ChooseWhileShown(kOpenRequest, [&](QFileDialog& dialog) {
        names = ListedNames(dialog, QString::fromStdString(dir.path().string()));
    });
    QCOMPARE(names, (QStringList{"DISC.001", "DISC.002", "NODOT"}));
}

void tst_FileChooser::cancelGivesAnEmptyResult()
{
    const std::string result = ChooseWhileShown(kOpenRequest, [](QFileDialog& d) { d.reject(); });
    QCOMPARE(result, std::string());
}

void tst_FileChooser::oneChosenFileGivesItsFullPath()
{
    TempDir dir;
    test::WriteFile(dir.file("game one.001"), "x");
    std::filesystem::current_path(dir.path()); // the dialog opens in the current folder
    const std::string result = ChooseWhileShown(kOpenRequest, [&](QFileDialog& dialog) {
        EnterNames(dialog, QStringLiteral("game one.001"));
    });
    QCOMPARE(QString::fromStdString(result), QString::fromStdString(dir.file("game one.001")));
}

void tst_FileChooser::severalChosenFilesGiveTheirFolderAndNames()
{
    TempDir dir;
    for (const char* name : {"DISC.001", "DISC.002", "DISC.003"})
        test::WriteFile(dir.file(name), "x");
    std::filesystem::current_path(dir.path());
    const std::string result = ChooseWhileShown(kOpenRequest, [&](QFileDialog& dialog) {
        EnterNames(dialog, QStringLiteral("\"DISC.003\" \"DISC.001\""));
    });
    QCOMPARE(QString::fromStdString(result).split(QChar(0)),
             (QStringList{QString::fromStdString(dir.path().string()), "DISC.003", "DISC.001"}));
}

void tst_FileChooser::filesFromTwoFoldersKeepTheirOwn()
{
    TempDir dir;
    for (const char* name : {"d1", "d2"})
        std::filesystem::create_directory(dir.file(name));
    // d1/y.2 is there too, and must not stand in for d2/y.2.
    for (const char* name : {"d1/x.1", "d1/y.2", "d2/y.2"})
        test::WriteFile(dir.file(name), name);
    std::filesystem::current_path(dir.path());
    const std::string base = std::filesystem::canonical(dir.path()).string();
    const std::string result = ChooseWhileShown(kOpenRequest, [&](QFileDialog& dialog) {
        EnterNames(dialog,
                   QString::fromStdString('"' + base + "/d1/x.1\" \"" + base + "/d2/y.2\""));
    });
    std::string directory;
    std::vector<std::string> paths;
    QVERIFY(SplitFileNames(result, '/', directory, paths));
    QCOMPARE(directory, base + "/d1/"); // where the image goes by default
    QCOMPARE(paths, (std::vector<std::string>{base + "/d2/y.2", base + "/d1/x.1"}));
}

void tst_FileChooser::dialogResultFromSelection_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<std::string>("result");
    QTest::newRow("none") << QStringList{} << ""s;
    QTest::newRow("one") << QStringList{"/img/a b.001"} << "/img/a b.001"s;
    QTest::newRow("several") << QStringList{"/img/x.002", "/img/x.001"} << "/img\0x.002\0x.001"s;
    QTest::newRow("root") << QStringList{"/x.002", "/x.001"} << "/\0x.002\0x.001"s;
    QTest::newRow("another folder")
        << QStringList{"/a/d1/x.1", "/a/d2/y.2", "/a/d1/z.3"} << "/a/d1\0x.1\0/a/d2/y.2\0z.3"s;
    QTest::newRow("a folder below") << QStringList{"/a/x.1", "/a/b/y.2"} << "/a\0x.1\0/a/b/y.2"s;
    QTest::newRow("non-ASCII") << QStringList{"/Bilder/Größe.1", "/Bilder/日本.2"}
                               << "/Bilder\0Gr\xc3\xb6\xc3\x9f"
                                  "e.1\0\xe6\x97\xa5\xe6\x9c\xac.2"s;
}

void tst_FileChooser::dialogResultFromSelection()
{
    QFETCH(QStringList, files);
    QFETCH(std::string, result);
    QCOMPARE(DialogResultFromSelection(files), result);
}

QTEST_MAIN(tst_FileChooser)
#include "tst_FileChooser.moc"
