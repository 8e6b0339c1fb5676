#pragma once
// The wizard's texts: installer messages in the current interface language.

#include <string>
#include <vector>

namespace va {

std::wstring WizardText(unsigned message);
// With its inserts "%1", "%2", ... filled.
std::wstring WizardText(unsigned message, const std::vector<std::wstring>& inserts);

}  // namespace va
