#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Every reader of bytes from outside the program, as one function per kind of
// input. libFuzzer drives them in a fuzzing build (scripts/fuzz); the unit
// tests replay the saved corpus through the same functions in every build.
namespace FuzzTargets {

struct Target
{
    QString name;  // also the corpus folder's name
    std::function<void(const QByteArray &)> run;
};

// property_list, keyed_archive, message, engine_line, web_reply, image_metadata,
// session_log, account_reply, engine_output, plist_values
const QList<Target> &all();

}  // namespace FuzzTargets
