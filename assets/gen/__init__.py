"""Generators of Snowquill's and Pixelhem's artwork, sounds, icon and built-in pictures."""
