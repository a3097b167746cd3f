#pragma once

#include <QObject>
#include <QString>

// The control with this object name ("txtSetup3", "cmdSave"); a test that
// names a control the window does not have stops at once.
template <class T> T* namedChild(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}
