// Small helpers that place the labels and buttons of the settings pages.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

namespace nusari {

inline QLabel* addLabel(QWidget* page, const char* text, const QRect& at, Qt::Alignment align) {
    auto* label = new QLabel(QString::fromUtf8(text), page);
    label->setGeometry(at);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

inline QPushButton* addButton(QWidget* page, const char* name, const char* text, const char* hint,
                              const QRect& at) {
    auto* button = new QPushButton(QString::fromUtf8(text), page);
    button->setObjectName(QString::fromUtf8(name));
    button->setToolTip(QString::fromUtf8(hint));
    button->setGeometry(at);
    return button;
}

}  // namespace nusari
