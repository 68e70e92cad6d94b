#pragma once
// The banner strip's browser as the banner manager and the main window see it: navigate, run the
// steps on the current document, and two events. A frontend implements it over its engine (a helper
// process with Qt WebEngine on Linux, the system's browser control on Windows); tests use a fake.
#include <functional>
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
    // Starts loading the address (UTF-8 text); never waits for the page.
    virtual void Navigate(const std::string& url) = 0;
    // Sets the body's "scroll" to "no" and the root element's style "overflow" to "hidden" on the
    // current document; with readNextUrl it then looks up the first element named or identified
    // "nextUrl" and reads its value. done runs with the outcome, either before this returns (an engine
    // that answers at once) or later on the GUI thread; never, when the browser goes away first.
    virtual void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) = 0;

    // Set by the behaviour; the browser calls them on the GUI thread.
    std::function<void()> OnDocumentComplete;  // a document has finished loading
    std::function<void()> OnDownloadComplete;  // a download finished, was stopped or failed
};
