#pragma once

#include <QString>
#include <QWidget>

#include <utility>

namespace tv {

// A widget created with its object name, the name the program and its tests know it by:
// named<QLabel>(parent, "Label2", text) is QLabel(text, parent) named "Label2".
template <typename W, typename... Args> W* named(QWidget* parent, const char* name, Args&&... args)
{
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace tv
