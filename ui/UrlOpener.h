#pragma once

class QUrl;

namespace quarvel {

// Opens a web page in the user's browser. The window's real one goes
// through the desktop's URL handler; tests put in one that succeeds or
// fails as they need.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    // Returns false when no browser could be started.
    virtual bool open(const QUrl& url) = 0;
};

// The desktop's URL handler (QDesktopServices::openUrl): no file is written.
class DesktopUrlOpener : public UrlOpener
{
public:
    bool open(const QUrl& url) override;
};

} // namespace quarvel
