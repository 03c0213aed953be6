// Which page of the help file answers a help context id: the topic numbers that
// dialogs ask for (their Help buttons and F1 on their controls) and the page,
// with the paragraph's anchor, that explains them. Portable.
#pragma once

// "page.html" or "page.html#anchor"; null for an id the help does not know.
const char* HelpTopicPage(unsigned contextId);
