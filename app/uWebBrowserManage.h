#pragma once
// The banner manager: shows the default banner page or the one the last page named, and on every
// completed page hides its scroll bars and reads the address of the next page from its "nextUrl"
// input field. It drives the browser through IBannerBrowser and does not own it.
#include <cstdint>
#include <memory>
#include <string>

#include "app/uBannerBrowser.h"
#include "platform/Types.h"

class TWBManage {
public:
    // Binds the browser's document-complete event; a null browser makes every call do nothing.
    explicit TWBManage(IBannerBrowser* browser);
    ~TWBManage();
    TWBManage(const TWBManage&) = delete;
    TWBManage& operator=(const TWBManage&) = delete;

    // Shows NextUrl, or the default banner page while there is none.
    void ShowAd();
    void OpenUrl(const AnsiString& url);
    // Runs on every completed document: styles, then the next page's address.
    void DocumentComplete();
    // Sends the browser to the blank page (before the window slides up).
    void Blank();

    // The advertising server's host (or host:port): CHIMEWICK_AD_HOST from the environment, else the
    // one the program was built with.
    static std::string AdHost();
    static AnsiString DefaultPage();
    // The text a next-page address must contain: the host followed directly by "/ssh".
    static AnsiString AcceptancePattern();
    // An http or https address that contains the acceptance pattern (byte for byte, anywhere).
    static bool Acceptable(const AnsiString& url);
    // Raises the error for a document the steps could not work on; does nothing otherwise.
    static void RaiseStepError(const TDocumentSteps& steps);
    // Whether a message aimed at the banner page is swallowed so that the page never sees it: right
    // button down (516) and up (517) and the context-menu request (123), by their Windows numbers.
    static bool IsMenuMessage(uint32_t message);

    IBannerBrowser* Browser = nullptr;  // not owned
    AnsiString NextUrl;

private:
    void TakeNextUrl(const TDocumentSteps& steps);
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
