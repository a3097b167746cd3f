#pragma once

// The off-screen platform says at every window that it cannot pass size
// hints to a window manager it does not have; nothing off screen needs
// them. Installs a message handler that drops that line and passes every
// other message on.
void quietenOffscreenMessages();
