"""Shared helpers of the acceptance scripts: a private X server, the program in a private home,
and the keyboard, mouse, clipboard and screenshot tools that drive it like a user."""
