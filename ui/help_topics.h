// Which page of the help file answers a help context id: the topic numbers that
// dialogs ask for (their Help buttons and F1 on their controls) and the page,
// with the paragraph's anchor, that explains them. Portable.
#pragma once

// Topics of whole windows: F1 on a control without a topic of its own (OK,
// Cancel, Help, a property sheet's tabs) opens its window's.
constexpr unsigned kExportHelpTopic = 2;
constexpr unsigned kOptionsHelpTopic = 3;
constexpr unsigned kFormatOptionsHelpTopic = 4;

// "page.html" or "page.html#anchor"; null for an id the help does not know.
const char* HelpTopicPage(unsigned contextId);
