#pragma once

#include <QWidget>

#include <functional>

class ExcludePreferences;
class QCheckBox;
class QPushButton;
class QTableWidget;

// The Exclude pane of the monitor's preferences: the exclusion list (default
// and own rows), the partial-name list and the hidden-files switch.
class ExcludeViewController : public QWidget
{
    Q_OBJECT
public:
    // Asks the user for files and folders to exclude; the default opens a file dialog.
    using PathChooser = std::function<QStringList(QWidget *parent)>;

    explicit ExcludeViewController(ExcludePreferences &preferences, QWidget *parent = nullptr);

    void setPathChooser(PathChooser chooser) { mChooser = std::move(chooser); }
    void refreshView();

    QTableWidget *exclusionTable() const { return mExcludeFilesTableView; }
    QTableWidget *partialTable() const { return mPartialExcludeListTableView; }
    QCheckBox *excludeHiddenBox() const { return mExcludeHidden; }
    QPushButton *addButton() const { return mAddButton; }
    QPushButton *removeButton() const { return mRemoveButton; }
    QPushButton *addPartialButton() const { return mAddPartialButton; }
    QPushButton *removePartialButton() const { return mRemovePartialButton; }

    // The delete key of either table.
    void deleteItemFromTableView(QTableWidget *table);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillTable(QTableWidget *table, bool partial);
    void updateButtons();
    void cellChanged(QTableWidget *table, int row, int column);

    ExcludePreferences &mPreferences;
    PathChooser mChooser;
    QTableWidget *mExcludeFilesTableView = nullptr;
    QTableWidget *mPartialExcludeListTableView = nullptr;
    QCheckBox *mExcludeHidden = nullptr;
    QPushButton *mAddButton = nullptr;
    QPushButton *mRemoveButton = nullptr;
    QPushButton *mAddPartialButton = nullptr;
    QPushButton *mRemovePartialButton = nullptr;
};
