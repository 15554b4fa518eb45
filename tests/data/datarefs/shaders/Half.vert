#version 430 core
