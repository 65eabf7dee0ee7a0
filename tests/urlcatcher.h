#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop's mail program and browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    TUrlCatcher()
    {
        for (const char* scheme : {"mailto", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~TUrlCatcher() override
    {
        for (const char* scheme : {"mailto", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList urls;

public slots:
    void Open(const QUrl& url) { urls << url.toString(); }
};
