#pragma once

#include <QWidget>

// A small quota bar: a green shading up to the value, light grey beyond it,
// and the value written across it in white ("45 %").
class ProgressView : public QWidget
{
    Q_OBJECT
public:
    explicit ProgressView(QWidget *parent = nullptr);

    void setProgressValue(int percent);  // kept within 0..100
    int progressValue() const { return mProgressValue; }
    QString text() const;

    QSize sizeHint() const override { return {115, 12}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int mProgressValue = 0;
};
