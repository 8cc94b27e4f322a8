#include "window/author.h"

#include "window/velkin_config.h"

namespace velkin {

AuthorInfo BuiltInAuthor() {
    return {VELKIN_AUTHOR, VELKIN_EMAIL_LINE, VELKIN_SOCIAL_LINE, VELKIN_DONATION_ADDRESS,
            VELKIN_WEBLOG_LINE};
}

std::string ApplicationTitle() {
    return VELKIN_APPLICATION_TITLE;
}

std::string AboutText(const std::string& versionText, const AuthorInfo& info) {
    const char* const crlf = "\r\n";
    return "Velkin " + versionText + " by " + info.author + crlf + "CORVANE Advanced Config Tool " +
           versionText + crlf + "Beta Release, Writes Enabled!" + crlf + info.emailLine + crlf +
           info.socialLine + crlf + "BitCoin: " + info.donationAddress + crlf + info.weblogLine;
}

std::string DonationCaption(const std::string& donationAddress) {
    return "BitCoin " + donationAddress;
}

}  // namespace velkin
