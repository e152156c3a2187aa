#!/bin/sh
# Installs what tools/legibility/run.py needs (Debian; run as root).
set -e
pkgs="tesseract-ocr tesseract-ocr-ara tesseract-ocr-fas pango1.0-tools fonts-noto-core python3-pil"
apt-get install -y $pkgs || { apt-get update && apt-get install -y $pkgs; }
