#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

#include <functional>

// The name cell of the local tree: a tri-state check box 5 points from the
// left, the item's 16 x 16 icon after it, then its name, orange when the item
// or a folder it lies in is excluded. Only a click on the check box's part
// (at most 5 + 16 points from the cell's left edge) toggles it.
class ImageAndTextAndCheckBox : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int kCheckBoxInset = 5;
    static constexpr int kImageSize = 16;

    // The image of a row, set just before the row is drawn.
    using ImageForRow = std::function<QIcon(const QModelIndex &)>;

    // excludedRole answers whether the item is shown as excluded. Without an
    // image for the row, the model's decoration is drawn.
    explicit ImageAndTextAndCheckBox(int excludedRole, ImageForRow imageForRow = {}, QObject *parent = nullptr);

    // Whether a click at x (in the view) toggles the check box of a cell whose left edge is at cellLeft.
    static bool togglesAt(int x, int cellLeft) { return x <= cellLeft + kCheckBoxInset + kImageSize; }
    static QColor excludedColour();

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    int mExcludedRole;
    ImageForRow mImageForRow;
};
