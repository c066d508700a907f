#pragma once

#include "session/manager/BackedUpFileQueue.h"

// Sends each stored file to the index manager that the main controller holds
// for the current drive, asked afresh each time (it is replaced at each login
// and drive change); nothing is sent while there is none.
class MainControllerIndexQueue : public BackedUpFileQueue
{
public:
    void addBackedUpFile(const BackedUpFile &file) override;
};
