// The author's texts: the About box, the donation label and the title of every box.
#pragma once

#include <string>

namespace velkin {

// The author's texts, set when the program is built.
struct AuthorInfo {
    std::string author;
    std::string emailLine;
    std::string socialLine;
    std::string donationAddress;
    std::string weblogLine;
};

// The built-in AuthorInfo of this program.
AuthorInfo BuiltInAuthor();

// "Velkin by " and the author: the title of every message box and of the input box.
std::string ApplicationTitle();

// The seven lines of the About box, joined by CR LF, no line end after the last.
std::string AboutText(const std::string& versionText, const AuthorInfo& info);

// The caption of the donation label.
std::string DonationCaption(const std::string& donationAddress);

}  // namespace velkin
