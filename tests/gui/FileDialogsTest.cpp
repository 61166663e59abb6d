#include "framework/qt/FileDialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "framework/qt/FileListModel.h"

namespace quolix {
namespace {

// Qt's file dialog under a C or English system locale: its list must still
// read in the program's Japanese.
class FileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
        QFile file(file_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("x", 1), 1);
        file.close();  // closing a written file stamps it: stamp it after
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 12, 7), QTime(10, 31)),
                                     QFileDevice::FileModificationTime));
        previous_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    void TearDown() override { QLocale::setDefault(previous_); }

    QTemporaryDir dir_;
    QString file_ = dir_.filePath(QStringLiteral("rec.qlx"));
    QLocale previous_;
};

TEST_F(FileDialogTest, ListsSizesDatesAndFoldersInTheDefaultLocale) {
    QFileSystemModel files;
    FileListModel list;
    list.setSourceModel(&files);
    const QModelIndex folder = list.mapFromSource(files.setRootPath(dir_.path()));
    const auto text = [&](const QString& name, int column) {
        const QModelIndex row = list.mapFromSource(files.index(dir_.filePath(name)));
        return list.index(row.row(), column, folder).data().toString().toStdString();
    };
    // The model reads the folder on a thread of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(QStringLiteral("rec.qlx"), 1).empty(); }));
    EXPECT_EQ(text(QStringLiteral("rec.qlx"), FileListModel::Size), "1 バイト");
    EXPECT_EQ(text(QStringLiteral("rec.qlx"), FileListModel::Modified), "2024/12/07 10:31");
    EXPECT_EQ(text(QStringLiteral("sub"), FileListModel::Type), "ファイル フォルダー");
    EXPECT_EQ(text(QStringLiteral("sub"), FileListModel::Size), "");
    EXPECT_EQ(text(QStringLiteral("rec.qlx"), FileListModel::Name), "rec.qlx");
}

TEST_F(FileDialogTest, OpenAndSaveUseThatListAndGiveTheChosenPath) {
    for (const bool save : {false, true}) {
        const QString chosen = save ? dir_.filePath(QStringLiteral("new.qlx")) : file_;
        const testing::WhenModal<QFileDialog> driver([&](QFileDialog& dialog) {
            EXPECT_NE(qobject_cast<FileListModel*>(dialog.proxyModel()), nullptr);
            EXPECT_EQ(dialog.acceptMode(),
                      save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            dialog.selectFile(chosen);
            static_cast<QDialog&>(dialog).accept();  // public there
        });
        const QString filter = QStringLiteral("Quolix (*.qlx)");
        const QString path =
            save
                ? filedialog::GetSaveFileName(nullptr, QStringLiteral("保存"), file_, filter)
                : filedialog::GetOpenFileName(nullptr, QStringLiteral("開く"), dir_.path(), filter);
        EXPECT_EQ(path, chosen) << (save ? "save" : "open");
    }
}

TEST_F(FileDialogTest, CancelGivesNoPath) {
    const testing::WhenModal<QFileDialog> driver([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(
        filedialog::GetOpenFileName(nullptr, QStringLiteral("開く"), dir_.path(), {}).isEmpty());
}

}  // namespace
}  // namespace quolix
