#pragma once

#include "txruvo/SessionRun.h"

// An image-metadata run ("--attrib-ornt2"): the list holds pairs of
// directives, "--f=<path>" naming a stored image by its path (the leading "/"
// may be left out) and "--a=<time>|<latitude>,<longitude>|<model>" its
// attributes. The attributes are kept as text beside the stored item
// (DriveLayout::imageAttributesPath), replacing earlier ones. Only items this
// engine stored (with their marker) are annotated; a directive naming
// anything else, or out of pairs, gets a per-file error.
class ImageMetadataOperation
{
public:
    explicit ImageMetadataOperation(SessionRun &run)
        : mRun(run)
    {}
    int run();

private:
    SessionRun &mRun;
};
