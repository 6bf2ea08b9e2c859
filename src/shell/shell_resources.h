// The extension's icon resources, shared by its resource script and its code. The colours'
// swatches follow kFirstSwatchIcon in the colour list's order.
#pragma once

#define IDI_SHELL_VELQUIN 100
#define IDI_SHELL_DEFAULT_FOLDER 101
#define IDI_SHELL_FIRST_SWATCH 110
