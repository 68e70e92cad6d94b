#pragma once
// The banner's browser as the banner manager and the main window see it: navigate, run the steps on
// the current document, and two events. Everything is asynchronous; nothing here ever waits for the
// engine. The real one drives the helper process (uBannerHelper); tests use a fake.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

// What the steps on the current document found.
struct TDocumentSteps {
    enum Outcome {
        Styled,        // styles set; the next address was not asked for
        NoNextUrl,     // styles set; no element named or identified "nextUrl"
        NextUrlValue,  // styles set; Value holds the first "nextUrl" input field's value
        NotInput,      // styles set; the first "nextUrl" element is not an input field
        NoBody,        // the document has no body
        NoStyle,       // the root element has no style
        NoDocument,    // no HTML document
    };
    Outcome Result = NoDocument;
    std::string Value;  // UTF-8
};

class IBannerBrowser {
public:
    virtual ~IBannerBrowser() = default;
    // Starts loading the address (UTF-8 text).
    virtual void Navigate(const std::string& url) = 0;
    // Sets the body's "scroll" to "no" and the root element's overflow to "hidden" on the current
    // document; with readNextUrl it then looks up the first element named or identified "nextUrl".
    // done runs later on the GUI thread, or never when the browser goes away first.
    virtual void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) = 0;

    std::function<void()> OnDocumentComplete;  // a document has finished loading
    std::function<void()> OnDownloadComplete;  // a download finished, was stopped or failed
};

// The browser for the banner strip: its page shows inside host. None when the program was built
// without the banner helper.
std::unique_ptr<IBannerBrowser> CreateBannerBrowser(QWidget* host);
// The browser engine does not start as root while its sandbox is on (the helper would end at once each
// time a page is asked for). True in that case; the first time, the log says why and what to set.
bool BannerEngineRefusesToStart();
// Replaces what CreateBannerBrowser makes (tests); an empty function restores the real one.
void SetBannerBrowserFactory(std::function<std::unique_ptr<IBannerBrowser>(QWidget* host)> factory);
