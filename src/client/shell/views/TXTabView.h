#pragma once

#include <QHash>
#include <QStackedWidget>

#include <functional>

// The page container: the pages stacked by their tab index below a header
// band with the header gradient. After each drawing it calls its delegate's
// didRefreshTab.
class TXTabView : public QStackedWidget
{
    Q_OBJECT
public:
    explicit TXTabView(QWidget *parent = nullptr);

    void setControllerDelegate(std::function<void()> didRefreshTab) { mDidRefreshTab = std::move(didRefreshTab); }
    // The title shown in the header band for each page, by tab index.
    void setPageTitle(int index, const QString &title);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<void()> mDidRefreshTab;
    QHash<int, QString> mTitles;
};
