#pragma once

#include <QHash>
#include <QWidget>

#include <functional>

class QStackedWidget;

// The page container: the pages stacked by their tab index below a header
// band with the header gradient. After each drawing it calls its delegate's
// didRefreshTab.
class TXTabView : public QWidget
{
    Q_OBJECT
public:
    explicit TXTabView(QWidget *parent = nullptr);

    void setControllerDelegate(std::function<void()> didRefreshTab) { mDidRefreshTab = std::move(didRefreshTab); }
    // The title shown in the header band for each page, by tab index.
    void setPageTitle(int index, const QString &title);

    void addPage(QWidget *page);
    // Puts a page in place of the one at a tab index; the old page is deleted.
    void replacePage(int index, QWidget *page);
    QWidget *page(int index) const;
    int currentIndex() const;
    void setCurrentIndex(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStackedWidget *mPages;
    std::function<void()> mDidRefreshTab;
    QHash<int, QString> mTitles;
};
