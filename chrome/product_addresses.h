#pragma once
// Where the product lives on the web, and where users write to (the Help menu and the About box).
namespace product_addresses {

constexpr const char kWebSite[] = "https://www.tessaly.example/";
constexpr const char kDownloadPage[] = "https://www.tessaly.example/download/";
constexpr const char kSupportMail[] = "support@tessaly.example";
constexpr const char kSupportMailLink[] = "mailto:support@tessaly.example";

}  // namespace product_addresses
