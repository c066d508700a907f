#pragma once

#include <QString>

// The stored form of names in the index and the patterns that find them.
// Folder rows hold the folder's index path with "/" appended, between single
// quotes ('/Office/Users/ann/', the root '/'); file rows hold the file's name
// between single quotes ('a.txt'). Index paths are absolute (/Office/a.txt);
// "" and "/" both name the root.
namespace IndexNames {

// 'text'
QString quoted(const QString &text);
// The text without its enclosing quotes.
QString unquoted(const QString &stored);

// The stored name of a folder: '/' for the root, '/a/b/' for /a/b.
QString folderName(const QString &folderPath);
// What the stored names of a folder and of everything below it begin with:
// '/ for the root, '/a/b/ for /a/b.
QString subtreePrefix(const QString &folderPath);
// The first text after every name that begins with the prefix (which ends in
// "/"): names in [prefix, subtreeEnd(prefix)) are exactly those that begin with
// it, ASCII case folded, so a range search on the name index replaces a LIKE
// that "_" and "%" in real names would widen.
QString subtreeEnd(const QString &prefix);

// The path less its last component: /a/b.txt gives /a, /a.txt gives /.
QString parentPath(const QString &path);
QString lastComponent(const QString &path);
// Whether the path names the root.
bool isRoot(const QString &folderPath);
// The number of "/"-separated parts less one: /Office/Users gives 2.
int depth(const QString &path);

// A LIKE pattern that matches the text anywhere. A "%" in the text matches
// any run of characters (the search view's "*"); "\" and "_" are taken
// literally (the statement says ESCAPE '\').
QString containsPattern(const QString &text);

// The THUMB value of a file: 1 for the image kinds the browser shows as thumbnails.
int thumbFlag(const QString &path);

}  // namespace IndexNames
