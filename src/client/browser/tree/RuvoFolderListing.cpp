#include "client/browser/tree/RuvoFolderListing.h"

#include "engine/controllers/RuvoListingController.h"

#include <QTimer>

#include <algorithm>

RuvoFolderListing::RuvoFolderListing(Setup setUpController)
    : mSetUpController(std::move(setUpController))
{}

RuvoFolderListing::~RuvoFolderListing() = default;

void RuvoFolderListing::list(const QString &folderPath)
{
    auto listing = std::make_unique<RuvoListingController>();
    listing->setPathRoot(folderPath);
    listing->setDelegate(this);
    if (mSetUpController)
        mSetUpController(*listing);
    RuvoListingController &started = *listing;
    mRuvolistingControllerObjects.push_back(std::move(listing));
    started.startListing();
}

void RuvoFolderListing::cancelAll()
{
    // A controller that is gone tells nothing; its query ends on its own.
    for (auto &listing : mRuvolistingControllerObjects)
        listing->cancelListing();
    mRuvolistingControllerObjects.clear();
}

std::unique_ptr<RuvoListingController> RuvoFolderListing::release(RuvoListingController *listing)
{
    const auto found = std::find_if(mRuvolistingControllerObjects.begin(), mRuvolistingControllerObjects.end(),
                                    [listing](const auto &kept) { return kept.get() == listing; });
    if (found == mRuvolistingControllerObjects.end())
        return nullptr;
    std::unique_ptr<RuvoListingController> ended = std::move(*found);
    mRuvolistingControllerObjects.erase(found);
    return ended;
}

void RuvoFolderListing::fileListingDidFinishSuccessfully(RuvoListingController *listing)
{
    std::shared_ptr<RuvoListingController> ended = release(listing);
    if (!ended)
        return;
    QTimer::singleShot(0, [ended] {});
    if (receiver())
        receiver()->folderListed(ended->rootPath(), remoteEntriesFromListing(ended->fileList()));
}

void RuvoFolderListing::fileListingDidCancel(RuvoListingController *listing)
{
    std::shared_ptr<RuvoListingController> ended = release(listing);
    if (!ended)
        return;
    QTimer::singleShot(0, [ended] {});
    if (receiver())
        receiver()->folderListingFailed(ended->rootPath());
}
