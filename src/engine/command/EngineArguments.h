#pragma once

#include "engine/command/EngineSecretFiles.h"

#include <QStringList>

#include <memory>

// A complete engine argument vector, or the reason it is not one. The runner
// and the session wrapper refuse to start an incomplete vector.
struct EngineArguments
{
    QStringList arguments;
    // The credential files the arguments name; they go when the last holder does.
    std::shared_ptr<EngineSecretFiles> secrets;
    // The first argument that had no value ("" when the vector is complete).
    QString missingValue;

    bool isComplete() const { return missingValue.isEmpty(); }
};
