#pragma once

#include "client/browser/tree/RemoteFolderListing.h"
#include "engine/controllers/RuvoListingControllerDelegateProtocol.h"

#include <functional>
#include <memory>
#include <vector>

class RuvoListingController;
class TXEngineController;

// Folder listings from the drive's index: one RuvoListingController per folder,
// each set up with the signed-in account, kept until its end arrives.
class RuvoFolderListing : public RemoteFolderListing, private RuvoListingControllerDelegateProtocol
{
public:
    using Setup = std::function<void(TXEngineController &)>;

    explicit RuvoFolderListing(Setup setUpController);
    ~RuvoFolderListing() override;

    void list(const QString &folderPath) override;
    void cancelAll() override;

private:
    void fileListingDidFinishSuccessfully(RuvoListingController *listing) override;
    void fileListingDidCancel(RuvoListingController *listing) override;
    // Takes the ended controller out; it is destroyed once its callback has returned.
    std::unique_ptr<RuvoListingController> release(RuvoListingController *listing);

    Setup mSetUpController;
    std::vector<std::unique_ptr<RuvoListingController>> mRuvolistingControllerObjects;
};
