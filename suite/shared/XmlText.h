#pragma once
// Text put into XML markup the suite's components write by hand: the
// characters that would end or open markup or an attribute become entities.
#include <string>

std::wstring EscapeXml(const std::wstring& text);
