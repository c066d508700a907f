#include "common/widgets/AlertPaneWindowController.h"
#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "common/widgets/AlertPaneWindowControllerDelegateProtocol.h"
#include "common/widgets/ResourceImage.h"
#include "support/SandboxFixture.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

using Alert = AlertPaneWindowController;

class AlertPaneWindowControllerTest : public SandboxFixture
{};

struct RecordingDelegate : AlertPaneWindowControllerDelegateProtocol
{
    QList<int> answers;
    void didClickButton(int answer) override { answers.append(answer); }
};

// Runs the action once the next event loop (the alert's own) is running.
void whenShown(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

TEST(AlertLineCount, CountsPiecesBetweenLineFeeds)
{
    const struct
    {
        QString text;
        int lines;
    } cases[] = {
        {"", 1},
        {QString(70, 'a'), 1},
        {QString(71, 'a'), 2},
        {QString(140, 'a'), 2},
        {QString(141, 'a'), 3},
        {"0123456789\n0123456789\n0123456789", 3},
        {"first\n\nlast", 3},
        {"\n", 2},
        {QString(140, 'a') + '\n' + QString(1, 'b'), 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Alert::calculateTotalLinesFromText(c.text), c.lines) << c.text.size() << " characters";
}

TEST_F(AlertPaneWindowControllerTest, WindowGrowsOnlyBeyondTwoLines)
{
    const struct
    {
        QString message;
        int growth;
    } cases[] = {
        {"a", 0},
        {QString(140, 'a'), 0},
        {QString(141, 'a'), 18},
        {"0123456789\n0123456789\n0123456789", 18},
        {QString(350, 'a'), 54},
    };
    Alert designed("OK", {}, {});
    for (const auto &c : cases) {
        Alert alert("OK", {}, {});
        EXPECT_EQ(alert.displayMessage(c.message, "Title", false), Alert::kAnswerOther);
        EXPECT_EQ(alert.window()->height(), designed.window()->height() + c.growth) << c.message.size();
        EXPECT_EQ(alert.okButton()->y(), designed.okButton()->y() + c.growth);
        EXPECT_EQ(alert.okButton()->height(), designed.okButton()->height());
        alert.window()->hide();
    }
}

TEST_F(AlertPaneWindowControllerTest, ButtonsLayOutRightToLeft)
{
    const Alert designed({}, {}, {});  // every button as designed
    const QRect okFrame = designed.okButton()->geometry();
    const QRect cancelFrame = designed.cancelButton()->geometry();
    const QRect otherFrame = designed.otherButton()->geometry();

    // Short titles keep the designed width.
    Alert shortTitles("OK", "No", {});
    EXPECT_EQ(shortTitles.okButton()->geometry(), okFrame);
    EXPECT_EQ(shortTitles.cancelButton()->geometry(), cancelFrame);
    EXPECT_TRUE(shortTitles.otherButton()->isHidden());

    // Six characters or more fit the title; the buttons to the left move by the growth.
    Alert longTitles("Proceed with everything", "Cancel this", "Help");
    const int okGrowth = longTitles.okButton()->sizeHint().width() - okFrame.width();
    const int cancelGrowth = longTitles.cancelButton()->sizeHint().width() - cancelFrame.width();
    const int otherGrowth = longTitles.otherButton()->sizeHint().width() - otherFrame.width();
    ASSERT_GT(okGrowth, 0);
    EXPECT_EQ(longTitles.okButton()->geometry(),
              QRect(okFrame.x() - okGrowth, okFrame.y(), okFrame.width() + okGrowth, okFrame.height()));
    EXPECT_EQ(longTitles.cancelButton()->x(), cancelFrame.x() - okGrowth - cancelGrowth);
    EXPECT_EQ(longTitles.otherButton()->x(), otherFrame.x() - okGrowth - cancelGrowth - otherGrowth);
    EXPECT_EQ(longTitles.okButton()->x() + longTitles.okButton()->width(), okFrame.right() + 1);

    // A hidden alternate button adds no growth to the other one.
    Alert noAlternate("Proceed with everything", {}, "Help");
    EXPECT_TRUE(noAlternate.cancelButton()->isHidden());
    EXPECT_EQ(noAlternate.otherButton()->x(), otherFrame.x() - okGrowth - otherGrowth);
}

TEST_F(AlertPaneWindowControllerTest, ModalAlertAnswersByButton)
{
    const struct
    {
        QPushButton *(Alert::*button)() const;
        int answer;
    } cases[] = {
        {&Alert::okButton, 1},
        {&Alert::cancelButton, 0},
        {&Alert::otherButton, -1},
    };
    for (const auto &c : cases) {
        Alert alert("Yes", "No", "Later");
        whenShown([&] {
            EXPECT_TRUE(alert.window()->isVisible());
            (alert.*c.button)()->click();
        });
        EXPECT_EQ(alert.displayMessage("Go on?", "Tarnix", true), c.answer);
        EXPECT_TRUE(alert.isModal());
        EXPECT_FALSE(alert.window()->isVisible());
    }
}

TEST_F(AlertPaneWindowControllerTest, ClosingWithoutAButtonIsNoneOfTheAnswers)
{
    Alert modal("Yes", "No", {});
    whenShown([&] { modal.window()->close(); });
    EXPECT_EQ(modal.displayMessage("Remove everything?", "Tarnix", true), Alert::kAnswerDismissed);

    RecordingDelegate delegate;
    Alert free("OK", {}, {}, &delegate);
    free.displayMessage("Done", "Tarnix", false);
    free.window()->close();
    EXPECT_EQ(delegate.answers, QList<int>{Alert::kAnswerDismissed});
}

TEST_F(AlertPaneWindowControllerTest, FreeAlertReturnsAtOnceAndTellsTheDelegate)
{
    RecordingDelegate delegate;
    Alert alert("OK", "Cancel", {}, &delegate);
    EXPECT_EQ(alert.displayMessage("Backup finished", "Tarnix", false), Alert::kAnswerOther);
    EXPECT_FALSE(alert.isModal());
    EXPECT_TRUE(alert.window()->isVisible());
    EXPECT_TRUE(delegate.answers.isEmpty());

    alert.cancelButton()->click();
    EXPECT_FALSE(alert.window()->isVisible());
    EXPECT_EQ(delegate.answers, QList<int>{0});

    Alert noDelegate("OK", {}, {});
    noDelegate.displayMessage("No one listens", "Tarnix", false);
    noDelegate.okButton()->click();
    EXPECT_FALSE(noDelegate.window()->isVisible());
}

TEST_F(AlertPaneWindowControllerTest, NewAlertHidesTheFreeOneButNotAWaitingModalOne)
{
    Alert first("OK", {}, {});
    first.displayMessage("first", "Tarnix", false);
    Alert second("OK", {}, {});
    EXPECT_FALSE(first.window()->isVisible());
    EXPECT_EQ(Alert::current(), &second);

    // A question waiting for its answer survives an alert raised meanwhile, and
    // each gets its own answer.
    Alert question("Yes", "No", {});
    int innerAnswer = 99;
    whenShown([&] {
        Alert notice("OK", {}, {});
        whenShown([&] {
            EXPECT_TRUE(question.window()->isVisible());
            notice.okButton()->click();
        });
        innerAnswer = notice.displayMessage("Meanwhile", "Tarnix", true);
        EXPECT_TRUE(question.window()->isVisible());
        question.cancelButton()->click();
    });
    EXPECT_EQ(question.displayMessage("Stop the backup?", "Tarnix", true), Alert::kAnswerAlternate);
    EXPECT_EQ(innerAnswer, Alert::kAnswerDefault);
}

TEST_F(AlertPaneWindowControllerTest, ShowsTheBrandIconUnlessTheCallerSetOne)
{
    const struct
    {
        const char *program;
        const char *icon;
    } brands[] = {{"TarnixVidezud", "Tarnix_Portable.png"}, {"QuellonVidezud", "Quellon_Portable.png"}};
    for (const auto &brand : brands) {
        qputenv("TX_BRAND", brand.program);
        ProgramContext::current().texts().reload();
        Alert alert("OK", {}, {});
        alert.displayMessage("text", "title", false);
        const QImage expected = ResourceImage::load(brand.icon).toImage();
        ASSERT_FALSE(expected.isNull()) << brand.icon;
        EXPECT_EQ(alert.mImageView()->pixmap().toImage(), expected) << brand.program;
    }

    QPixmap own(16, 16);
    own.fill(Qt::red);
    Alert alert("OK", {}, {});
    alert.mImageView()->setPixmap(own);
    alert.displayMessage("text", "title", false);
    EXPECT_EQ(alert.mImageView()->pixmap().toImage(), own.toImage());
}

TEST_F(AlertPaneWindowControllerTest, ShowsOverTheWindowItBelongsTo)
{
    constexpr int kFrameSlack = 10;  // the alert is placed before its window frame is known
    QWidget probe;
    const QRect screen = probe.screen()->availableGeometry();
    const QRect offCentre(screen.x(), screen.y(), screen.width() - 60, 400);
    const QRect offScreen(screen.right() - 100, screen.bottom() - 50, 400, 300);
    const struct
    {
        const char *name;
        QRect ownerFrame;
        bool given;       // named as the owner; else only the active window
        QPoint expected;  // the alert's centre; none: the owner's
    } cases[] = {
        {"given owner", offCentre, true, {}},
        {"active window", offCentre, false, {}},
        // Centred over the owner as far as the screen allows.
        {"owner partly off the screen", offScreen, true, QPoint(screen.right() - 300, screen.bottom() - 75)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        owner.setGeometry(c.ownerFrame);
        owner.show();
        owner.activateWindow();
        QApplication::setActiveWindow(&owner);
        Alert alert("OK", {}, {});
        if (c.given)
            alert.setOwnerWindow(&owner);
        alert.displayMessage("Done", "Tarnix", false);
        const QPoint expected = c.expected.isNull() ? owner.frameGeometry().center() : c.expected;
        EXPECT_LE((alert.window()->frameGeometry().center() - expected).manhattanLength(), kFrameSlack);
    }

    Alert ownerless("OK", {}, {});
    ownerless.displayMessage("Done", "Tarnix", false);
    EXPECT_LE((ownerless.window()->frameGeometry().center() - screen.center()).manhattanLength(), kFrameSlack);
}

}  // namespace
