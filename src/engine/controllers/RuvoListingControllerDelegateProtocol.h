#pragma once

class RuvoListingController;

// What a folder listing from the index tells its delegate. Every listing ends
// with exactly one of fileListingDidFinishSuccessfully and
// fileListingDidCancel, both on the main thread and after startListing has
// returned.
class RuvoListingControllerDelegateProtocol
{
public:
    virtual ~RuvoListingControllerDelegateProtocol() = default;

    // On the thread that started the listing.
    virtual void fileListingDidStart(RuvoListingController *) {}
    // The rows are in the controller's fileList.
    virtual void fileListingDidFinishSuccessfully(RuvoListingController *listing) = 0;
    // The index could not be read; fileList keeps what it held.
    virtual void fileListingDidCancel(RuvoListingController *listing) = 0;
};
