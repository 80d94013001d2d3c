#pragma once

class ScreenHost;

// The member screen: Names > Member/Prospect Entry/Edit, and the request to show a person.
namespace Members {

void install(ScreenHost& host);

} // namespace Members
