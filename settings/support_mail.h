// The support mail of the root page: a mail to the support address with the
// preference file and the list of installed packages attached, so that a
// problem report carries the user's configuration. The package list is made
// by the host's "/usr/bin/dpkg -l" into a private temporary file, off the main
// thread and within 10 seconds; the mail is presented when it is ready, if the
// page is still on screen. An attachment that cannot be read is left out.
// Without a mail account nothing happens. Settings app main thread.
#pragma once

#include "settings/selectors.h"

namespace rousa {

inline constexpr const char* kSupportAddress = "support@quillory.net";
inline constexpr const char* kSupportSubject = "Rousa 2";
inline constexpr double kPackageListTimeLimit = 10.0;

// Rousa2ListController's supportClicked: and its mail delegate callback.
void supportClicked(id self, id sender);
void mailComposeControllerDidFinish(id self, id controller, long long result, Value error);
// The page goes away: its package list still being made is removed now.
void removePackageListsOf(id page);

}  // namespace rousa
