#include "client/backup/localtree/DestinationVolumes.h"

void DestinationVolumes::setTitles(const QStringList &titles)
{
    mTitles = titles;
    emit titlesChanged();
    if (!mTitles.contains(mSelected))
        selectTitle(mTitles.value(0));
}

void DestinationVolumes::appendTitle(const QString &title)
{
    if (mTitles.contains(title))
        return;
    mTitles.append(title);
    emit titlesChanged();
    if (mSelected.isEmpty())
        selectTitle(title);
}

void DestinationVolumes::removeTitle(const QString &title)
{
    if (!mTitles.removeOne(title))
        return;
    emit titlesChanged();
}

void DestinationVolumes::selectTitle(const QString &title)
{
    if (title == mSelected)
        return;
    mSelected = title;
    emit selectionChanged();
}

void DestinationVolumes::clickedDestMenu(const QString &title)
{
    if (!mTitles.contains(title))
        return;
    selectTitle(title);
    emit destinationChosen();
}
