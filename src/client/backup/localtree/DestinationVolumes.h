#pragma once

#include <QObject>
#include <QStringList>

// The choice of destination drive: one title per drive (its folder name under
// the volumes root, the start-up disk by its name) and the chosen one.
class DestinationVolumes : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    const QStringList &titles() const { return mTitles; }
    const QString &selectedTitle() const { return mSelected; }

    // A new list; the choice stays when its drive is still there, else the first drive is chosen.
    void setTitles(const QStringList &titles);
    void appendTitle(const QString &title);
    void removeTitle(const QString &title);
    // The choice changes without telling anyone that the user made it.
    void selectTitle(const QString &title);
    // The user chose a drive.
    void clickedDestMenu(const QString &title);

signals:
    void titlesChanged();
    void selectionChanged();
    // The user chose a drive: the shell reads the choice.
    void destinationChosen();

private:
    QStringList mTitles;
    QString mSelected;
};
