// Starting the user's web browser on a link's address.
#pragma once

#include <string>

namespace lf {

// Opens a Shift-JIS address in the user's browser: through the desktop's own service, or
// else with the freedesktop opener (xdg-open) found on the search path. False when neither
// could be started; what the browser then makes of the address is not reported.
bool OpenInBrowser(const std::string& url);

}  // namespace lf
