#pragma once

#include <QPushButton>

// A borderless link-like button that shows the pointing hand over it.
class NSButtonHover : public QPushButton
{
    Q_OBJECT
public:
    explicit NSButtonHover(const QString &text = {}, QWidget *parent = nullptr);
};
