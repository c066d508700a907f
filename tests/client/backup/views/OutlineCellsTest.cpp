#include "client/backup/views/CustomNSTableColumn.h"
#include "client/backup/views/ImageAndTextAndCheckBox.h"

#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

constexpr int kPlaceholderRole = Qt::UserRole + 2;
constexpr int kExcludedRole = Qt::UserRole + 3;

class OutlineCellsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *item = new QStandardItem(QStringLiteral("Documents"));
        item->setCheckable(true);
        item->setCheckState(Qt::Unchecked);
        model.appendRow(item);
        auto *loading = new QStandardItem(QString());
        loading->setData(true, kPlaceholderRole);
        model.appendRow(loading);
        view.setModel(&model);
        column = new CustomNSTableColumn(new ImageAndTextAndCheckBox(kExcludedRole), kPlaceholderRole, &view);
        view.setItemDelegateForColumn(0, column);
        view.resize(300, 200);
        view.show();
    }

    // A left click x points from the cell's left edge, as the view hands it to the cell.
    void clickAt(const QModelIndex &index, int x)
    {
        QStyleOptionViewItem option;
        option.rect = view.visualRect(index);
        const QPointF point(option.rect.x() + x, option.rect.center().y());
        QMouseEvent press(QEvent::MouseButtonPress, point, point, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, point, point, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        column->editorEvent(&press, &model, option, index);
        column->editorEvent(&release, &model, option, index);
    }

    QStandardItemModel model;
    QTreeView view;
    CustomNSTableColumn *column = nullptr;
};

TEST_F(OutlineCellsTest, OnlyTheCheckBoxPartOfTheCellToggles)
{
    EXPECT_TRUE(ImageAndTextAndCheckBox::togglesAt(21, 0));
    EXPECT_FALSE(ImageAndTextAndCheckBox::togglesAt(22, 0));
    EXPECT_TRUE(ImageAndTextAndCheckBox::togglesAt(121, 100));

    const QModelIndex documents = model.index(0, 0);
    clickAt(documents, 22);
    EXPECT_EQ(documents.data(Qt::CheckStateRole).toInt(), Qt::Unchecked) << "a click on the name does not toggle";
    clickAt(documents, 21);
    EXPECT_EQ(documents.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    clickAt(documents, 10);
    EXPECT_EQ(documents.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(OutlineCellsTest, TheLoadingRowIsAPlainCellThatIgnoresClicks)
{
    const QModelIndex loading = model.index(1, 0);
    model.itemFromIndex(loading)->setCheckable(true);
    clickAt(loading, 10);
    EXPECT_EQ(loading.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    const QPixmap picture = view.grab();  // paints both kinds of row without a fault
    EXPECT_FALSE(picture.isNull());
}

}  // namespace
