#pragma once
// The line protocol between the program and its banner helper (chimewick-banner), over the helper's
// standard input and output. One message per line, ended by '\n': a word, then its arguments separated
// by single spaces. Text arguments (addresses, field values) are percent-encoded, so a line never holds
// a space or a line break of its own.
//
// Helper -> program:
//   HELLO <version> <window id>      ready; the native window that holds the view, shown off the
//                                    screen; the program embeds it
//   WINDOW <window id>               that native window was made anew
//   NAVIGATING <address>             the whole view starts loading an address (asked for by the
//                                    program, or by the page itself: a link, a redirect, a script)
//   OPEN <address>                   the user's own left click on the page asks for an address that is
//                                    no banner page: the program opens it in the user's web browser
//   DOWNLOAD                         a navigation finished, was stopped or failed
//   COMPLETE <address>               the document has finished loading
//   FAILED <address>                 the page could not be loaded (nothing useful is shown)
//   STEPS <n> <result> [<value>]     answer to the STEPS request <n>; result is one of the words below
// Program -> helper:
//   PLACE <x> <y>                    where the view's top-left corner lies in the embedded window
//   NAVIGATE <address>               load http(s) addresses or about:blank; anything else fails
//   STOP                             stop loading (the page missed its deadline)
//   WAKE                             the strip is seen again: a page frozen meanwhile runs again
//   PATTERN <text>                   the text of banner pages' addresses (host followed by "/ssh"):
//                                    a click on a link to such a page keeps it in the strip
//   STEPS <n> STYLE|READ             body "scroll" "no", root style "overflow" "hidden"; READ also
//                                    looks up the first element named or identified "nextUrl"
// The helper ends when its standard input closes.
#include <QByteArray>
#include <QList>
#include <QString>

namespace BannerProtocol {

constexpr int Version = 2;

// The words that open a line, the same table for both sides.
inline constexpr char kHello[] = "HELLO";
inline constexpr char kWindow[] = "WINDOW";
inline constexpr char kDownload[] = "DOWNLOAD";
inline constexpr char kComplete[] = "COMPLETE";
inline constexpr char kFailed[] = "FAILED";
inline constexpr char kSteps[] = "STEPS";
inline constexpr char kPlace[] = "PLACE";
inline constexpr char kNavigate[] = "NAVIGATE";
inline constexpr char kNavigating[] = "NAVIGATING";
inline constexpr char kOpen[] = "OPEN";
inline constexpr char kStop[] = "STOP";
inline constexpr char kWake[] = "WAKE";
inline constexpr char kPattern[] = "PATTERN";
// What a STEPS request asks for.
inline constexpr char kStyle[] = "STYLE";
inline constexpr char kRead[] = "READ";

// Results of STEPS.
inline constexpr char kStyled[] = "STYLED";          // styles set; nothing read
inline constexpr char kNext[] = "NEXT";              // value follows
inline constexpr char kNone[] = "NONE";              // no "nextUrl" element
inline constexpr char kNotInput[] = "NOTINPUT";      // the first "nextUrl" element is not an input field
inline constexpr char kNoBody[] = "NOBODY";          // the document has no body
inline constexpr char kNoStyle[] = "NOSTYLE";        // the root element has no style
inline constexpr char kNoDocument[] = "NODOCUMENT";  // no HTML document (or the script could not run)
inline constexpr char kGone[] = "GONE";              // the page navigated away before the steps ran

// Builds one line from a word and its arguments (text arguments encoded with Encode).
QByteArray Line(const QByteArray& word, const QList<QByteArray>& args = {});
// Splits a line (without its '\n') into its word and arguments.
QList<QByteArray> Split(const QByteArray& line);
QByteArray Encode(const QString& text);
QString Decode(const QByteArray& field);

}  // namespace BannerProtocol
