#pragma once
#include <QList>
#include <QString>

// The function navigator's tables: five categories, the functions of each with their pictures, and the
// menu item each function starts. The picture number is the key from a list entry to its menu item.
namespace navigator {
struct Category {
    QString text;    // the item's one-character text
    QString picture; // the picture that shows the category's icon and name
};

struct Function {
    int category = 0;
    QString label;
    int picture = 0;
    QString menuPath; // item of the main menu, by path
};

struct Entry {
    QString label;
    int picture = 0;
};

const QList<Category> &categories();
// Every function, in list order within each category.
const QList<Function> &functions();
// The entries of one category (1..5), in list order; empty for any other number.
QList<Entry> entriesOf(int category);
// The entries the function list shows before any category is chosen.
QList<Entry> initialEntries();
// The menu item a picture number starts; empty for a number that starts nothing.
QString menuPathFor(int picture);
// The name of large picture n (1..25) of the function list.
QString largePictureName(int n);
constexpr int kLargePictures = 25;
} // namespace navigator
