#pragma once
// The settings dialog, shown modally without an owner; returns when it has unloaded itself.
namespace kpv {

void ShowSettingsDialogModal();

}  // namespace kpv
