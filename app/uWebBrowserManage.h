#pragma once
// The banner manager: shows the default banner page or the one the last page named, and on every
// completed page hides its scroll bars and reads the address of the next page from its "nextUrl"
// input field. It drives the browser through IBannerBrowser and does not own it.
#include <cstdint>
#include <memory>
#include <string>

#include "app/uBannerBrowser.h"
#include "platform/Types.h"

// What the user did with the mouse or the keyboard on the banner page, named for the act.
enum class TBannerInput {
    RightDown,         // the right button pressed
    RightUp,           // the right button released
    RightDoubleClick,  // a quick second right press
    ContextMenu,       // a context menu asked for (the menu key, Shift+F10, a right release)
    Other,             // anything else (the left button, moves, keys)
};

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
    // Sends the browser to the blank page (before the window slides up), unless a page was made ready
    // ahead for this pop-up.
    void Blank();
    // Made ready ahead (wanted) or let go: while the window is hidden, loads the next banner page out of
    // sight and keeps it for the next pop-up; let go before a pop-up came, the page's next address is
    // forgotten so that the pop-up still shows the page it would have shown. A shown window changes
    // nothing: its page is the pop-up's.
    void ReadyAhead(bool wanted, bool windowShown);
    bool Ahead() const { return ahead_; }

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
    // Whether input aimed at the banner page is swallowed so that the page never sees it: every right
    // press, release and double click, and every context-menu request.
    static bool IsMenuMessage(TBannerInput input);

    IBannerBrowser* Browser = nullptr;  // not owned
    AnsiString NextUrl;

private:
    void TakeNextUrl(const TDocumentSteps& steps);
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool ahead_ = false;    // a page is loading or held for the next pop-up
    AnsiString aheadFrom_;  // NextUrl before that page was loaded
};
